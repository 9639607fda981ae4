#include "gamebrowser.h"

#include "avahipoll.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/address.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace bg::discovery {

namespace {
// One announcement as the daemon sees it: the same game may be seen on several interfaces.
using Key = std::tuple<AvahiIfIndex, std::string, std::string>; // interface, name, domain
} // namespace

struct GameBrowser::Avahi {
    struct Entry {
        AvahiServiceResolver* resolver = nullptr;
        std::optional<FoundGame> game;
    };

    GameBrowser& owner;
    AvahiQtPoll poll;
    AvahiClient* client = nullptr;
    AvahiServiceBrowser* browser = nullptr;
    std::map<Key, Entry> entries;
    bool running = false;

    explicit Avahi(GameBrowser& o) : owner(o) {
        int error = 0;
        client = avahi_client_new(poll.poll(), AVAHI_CLIENT_NO_FAIL, clientChanged, this, &error);
    }

    ~Avahi() {
        if (client) avahi_client_free(client); // frees the browser and the resolvers
    }

    void forgetAll() {
        const bool had = std::any_of(entries.begin(), entries.end(),
                                     [](const auto& e) { return e.second.game.has_value(); });
        entries.clear();
        browser = nullptr;
        if (had) emit owner.changed();
    }

    static void clientChanged(AvahiClient* c, AvahiClientState state, void* data) {
        auto* self = static_cast<Avahi*>(data);
        self->client = c; // also while avahi_client_new has not yet returned it
        const bool wasRunning = self->running;
        self->running = state == AVAHI_CLIENT_S_RUNNING || state == AVAHI_CLIENT_S_REGISTERING ||
                        state == AVAHI_CLIENT_S_COLLISION;
        if (self->running && !self->browser) {
            // Only IPv4 results: that is what the game's connection speaks.
            self->browser = avahi_service_browser_new(c, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET,
                                                      kServiceType, nullptr, AvahiLookupFlags(0),
                                                      browsed, self);
        } else if (!self->running) {
            // The daemon went away and took the browser and resolvers with it.
            self->forgetAll();
        }
        if (wasRunning != self->running) emit self->owner.changed();
    }

    static void browsed(AvahiServiceBrowser*, AvahiIfIndex interface, AvahiProtocol protocol,
                        AvahiBrowserEvent event, const char* name, const char* type,
                        const char* domain, AvahiLookupResultFlags, void* data) {
        auto* self = static_cast<Avahi*>(data);
        if (event != AVAHI_BROWSER_NEW && event != AVAHI_BROWSER_REMOVE) return;
        const Key key{interface, name ? name : "", domain ? domain : ""};
        if (event == AVAHI_BROWSER_REMOVE) {
            auto it = self->entries.find(key);
            if (it == self->entries.end()) return;
            const bool shown = it->second.game.has_value();
            if (it->second.resolver) avahi_service_resolver_free(it->second.resolver);
            self->entries.erase(it);
            if (shown) emit self->owner.changed();
            return;
        }
        if (self->entries.count(key)) return;
        Entry& entry = self->entries[key];
        // Kept open: it reports again whenever the text record changes.
        entry.resolver = avahi_service_resolver_new(self->client, interface, protocol, name, type, domain,
                                                    AVAHI_PROTO_INET, AvahiLookupFlags(0), resolved,
                                                    self);
    }

    static void resolved(AvahiServiceResolver* r, AvahiIfIndex interface, AvahiProtocol,
                         AvahiResolverEvent event, const char* name, const char*,
                         const char* domain, const char*, const AvahiAddress* address,
                         uint16_t port, AvahiStringList* txt, AvahiLookupResultFlags, void* data) {
        auto* self = static_cast<Avahi*>(data);
        auto it = self->entries.find(Key{interface, name ? name : "", domain ? domain : ""});
        if (it == self->entries.end() || it->second.resolver != r) return;
        std::optional<FoundGame> game;
        if (event == AVAHI_RESOLVER_FOUND && address && address->proto == AVAHI_PROTO_INET) {
            std::vector<std::string> strings;
            for (AvahiStringList* s = txt; s; s = avahi_string_list_get_next(s))
                strings.emplace_back(reinterpret_cast<const char*>(avahi_string_list_get_text(s)),
                                     avahi_string_list_get_size(s));
            if (auto notice = readTextRecord(strings)) {
                char dotted[AVAHI_ADDRESS_STR_MAX] = {};
                avahi_address_snprint(dotted, sizeof dotted, address);
                game = FoundGame{QString::fromStdString(plainText(name ? name : "")),
                                 QString::fromLatin1(dotted), port, *notice};
            }
        }
        // A failed resolution (the host went quiet) hides the game until it answers again.
        const bool same = it->second.game.has_value() == game.has_value() &&
                          (!game || (it->second.game->address == game->address &&
                                     it->second.game->port == game->port &&
                                     it->second.game->notice == game->notice));
        it->second.game = std::move(game);
        if (!same) emit self->owner.changed();
    }
};

GameBrowser::GameBrowser(QObject* parent)
    : QObject(parent), m_avahi(std::make_unique<Avahi>(*this)) {}

GameBrowser::~GameBrowser() = default;

bool GameBrowser::daemonRunning() const {
    return m_avahi->running;
}

std::vector<FoundGame> GameBrowser::games() const {
    std::vector<FoundGame> out;
    for (const auto& [key, entry] : m_avahi->entries) {
        if (!entry.game) continue;
        // The same game seen on two interfaces is one game.
        const bool seen = std::any_of(out.begin(), out.end(), [&](const FoundGame& g) {
            return g.serviceName == entry.game->serviceName;
        });
        if (!seen) out.push_back(*entry.game);
    }
    std::sort(out.begin(), out.end(), [](const FoundGame& a, const FoundGame& b) {
        return std::tie(a.notice.hostName, a.serviceName) <
               std::tie(b.notice.hostName, b.serviceName);
    });
    return out;
}

} // namespace bg::discovery
