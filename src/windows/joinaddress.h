#pragma once
// The address a person types to join a game: a host name, an IPv4 address or an IPv6 address,
// with ":port" where the host does not use the usual port. IPv6 with a port is written in
// brackets ("[2001:db8::5]:7800"), as in a web address; a bare IPv6 address takes no port.

#include <QString>

#include <optional>

struct JoinAddress {
    QString host; // as the game's connection is given it: name or address, no brackets
    std::optional<quint16> port;
    bool ipv6 = false;
};

struct JoinAddressReading {
    std::optional<JoinAddress> address;
    QString problem; // why it is not an address, when it is not
};

JoinAddressReading readJoinAddress(const QString& typed);
// The address as a person would type it again: "host", "host:port" or "[v6]:port".
QString joinAddressText(const QString& host, std::optional<quint16> port, quint16 usualPort);
