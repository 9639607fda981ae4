#include "reviewmarks.h"

#include <array>

namespace bg::review {

std::string_view markFor(double lossPercent) {
    if (lossPercent > kBlunderOver) return "??";
    if (lossPercent > kMistakeOver) return "?";
    if (lossPercent > kDubiousOver) return "?!";
    return "";
}

bool isBlunder(double lossPercent) {
    return lossPercent > kBlunderOver;
}

std::string_view bandFor(double averageLossPercent) {
    struct Band {
        double below;
        std::string_view name;
    };
    static constexpr std::array<Band, 6> bands{{{kWorldClassBelow, "World class"},
                                                {kExpertBelow, "Expert"},
                                                {kAdvancedBelow, "Advanced"},
                                                {kIntermediateBelow, "Intermediate"},
                                                {kCasualBelow, "Casual"},
                                                {kBeginnerBelow, "Beginner"}}};
    for (const Band& b : bands)
        if (averageLossPercent < b.below * kPercentPerMillipoint) return b.name;
    return "Awful";
}

} // namespace bg::review
