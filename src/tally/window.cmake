# The tally window; it keeps its file where the settings file lives.
set(tally_dir ${PROJECT_SOURCE_DIR}/src/tally)
add_library(bg_tallywindow STATIC ${tally_dir}/ttallylist.cpp ${tally_dir}/ttallylist.h)
target_include_directories(bg_tallywindow PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bg_tallywindow PUBLIC bg_tally bg_app Qt6::Widgets)
