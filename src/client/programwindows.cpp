#include "programwindows.h"

#include "artwork.h"
#include "download/tdownload.h"
#include "windows/tabout.h"
#include "windows/tgamestart.h"
#include "windows/thelp.h"
#include "windows/tiledbackground.h"
#include "windows/tphrases.h"
#include "windows/tspylist.h"

namespace {

template <class Window> LazyWindow<Window> plain(Tchat& chat) {
    return LazyWindow<Window>::madeBy([&chat] { return new Window(&chat); });
}

template <class Window> LazyWindow<Window> tiled(Tchat& chat) {
    return LazyWindow<Window>::madeBy([&chat] {
        auto* w = new Window(&chat);
        setTiledBackground(*w, art::backgroundTile(chat.devicePixelRatioF()));
        return w;
    });
}

} // namespace

Tchat::Windows programWindows(Tchat& chat, Ttallylist* tally) {
    return {
        .spylist = plain<Tspylist>(chat),
        .gamestart = tiled<Tgamestart>(chat),
        .help = tiled<Thelp>(chat),
        .phrases = plain<Tphrases>(chat),
        .download = plain<Tdownload>(chat),
        .tally = tally,
        .about = tiled<Tabout>(chat),
    };
}
