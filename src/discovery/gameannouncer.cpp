#include "gameannouncer.h"

#include "avahipoll.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

#include <optional>
#include <string>
#include <utility>

namespace bg::discovery {

struct GameAnnouncer::Avahi {
    GameAnnouncer& owner;
    quint16 port;
    AvahiQtPoll poll;
    AvahiClient* client = nullptr;
    AvahiEntryGroup* group = nullptr;
    std::optional<GameNotice> notice;
    std::string name;
    bool published = false;
    bool clientTried = false; // without a system bus there is no client to be had

    Avahi(GameAnnouncer& o, quint16 p) : owner(o), port(p) {}

    ~Avahi() {
        // Freeing the client withdraws the service: the daemon says goodbye for it.
        if (client) avahi_client_free(client);
    }

    static AvahiStringList* strings(const GameNotice& n) {
        AvahiStringList* list = nullptr;
        const auto record = textRecord(n);
        // Prepending reverses: the record keeps the notice's order.
        for (auto it = record.rbegin(); it != record.rend(); ++it)
            list = avahi_string_list_add(list, it->c_str());
        return list;
    }

    void setPublished(bool on) {
        if (published == on) return;
        published = on;
        emit owner.publishedChanged();
    }

    void create(AvahiClient* c) {
        if (!notice) return;
        if (name.empty()) {
            const std::string host = plainText(notice->hostName, 40);
            name = host.empty() ? "Backgammon" : host + " (Backgammon)";
        }
        if (!group) group = avahi_entry_group_new(c, groupChanged, this);
        if (!group) return;
        AvahiStringList* txt = strings(*notice);
        int error = avahi_entry_group_add_service_strlst(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                                         AvahiPublishFlags(0), name.c_str(),
                                                         kServiceType, nullptr, nullptr, port, txt);
        avahi_string_list_free(txt);
        if (error == AVAHI_ERR_COLLISION) {
            rename();
            avahi_entry_group_reset(group);
            create(c);
            return;
        }
        if (error == AVAHI_OK) avahi_entry_group_commit(group);
    }

    void rename() {
        char* other = avahi_alternative_service_name(name.c_str());
        name = other;
        avahi_free(other);
    }

    void update() {
        if (!client || !notice) return;
        if (!group || avahi_entry_group_is_empty(group)) {
            if (avahi_client_get_state(client) == AVAHI_CLIENT_S_RUNNING) create(client);
            return;
        }
        AvahiStringList* txt = strings(*notice);
        avahi_entry_group_update_service_txt_strlst(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                                    AvahiPublishFlags(0), name.c_str(),
                                                    kServiceType, nullptr, txt);
        avahi_string_list_free(txt);
    }

    static void groupChanged(AvahiEntryGroup* g, AvahiEntryGroupState state, void* data) {
        auto* self = static_cast<Avahi*>(data);
        self->group = g;
        switch (state) {
        case AVAHI_ENTRY_GROUP_ESTABLISHED:
            self->setPublished(true);
            break;
        case AVAHI_ENTRY_GROUP_COLLISION:
            // Another game on the network has this name: take the next one.
            self->setPublished(false);
            self->rename();
            avahi_entry_group_reset(g);
            self->create(avahi_entry_group_get_client(g));
            break;
        case AVAHI_ENTRY_GROUP_FAILURE:
            self->setPublished(false);
            break;
        default:
            break;
        }
    }

    static void clientChanged(AvahiClient* c, AvahiClientState state, void* data) {
        auto* self = static_cast<Avahi*>(data);
        switch (state) {
        case AVAHI_CLIENT_S_RUNNING:
            self->create(c);
            break;
        case AVAHI_CLIENT_S_COLLISION:
        case AVAHI_CLIENT_S_REGISTERING:
            // The machine's own name changes: announce again once it is settled.
            if (self->group) avahi_entry_group_reset(self->group);
            self->setPublished(false);
            break;
        case AVAHI_CLIENT_CONNECTING:
        case AVAHI_CLIENT_FAILURE:
            // The daemon went away; its groups went with it. NO_FAIL reconnects by itself.
            self->group = nullptr;
            self->setPublished(false);
            break;
        }
    }
};

GameAnnouncer::GameAnnouncer(quint16 port, QObject* parent)
    : QObject(parent), m_avahi(std::make_unique<Avahi>(*this, port)) {}

GameAnnouncer::~GameAnnouncer() = default;

void GameAnnouncer::announce(const GameNotice& notice) {
    if (m_avahi->notice == notice) return;
    m_avahi->notice = notice;
    if (!m_avahi->client) {
        if (std::exchange(m_avahi->clientTried, true)) return;
        int error = 0;
        m_avahi->client = avahi_client_new(m_avahi->poll.poll(), AVAHI_CLIENT_NO_FAIL,
                                           Avahi::clientChanged, m_avahi.get(), &error);
        return; // the client's first state brings the announcement
    }
    m_avahi->update();
}

QString GameAnnouncer::serviceName() const {
    return QString::fromStdString(m_avahi->name);
}

bool GameAnnouncer::published() const {
    return m_avahi->published;
}

} // namespace bg::discovery
