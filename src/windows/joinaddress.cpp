#include "joinaddress.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {

std::optional<quint16> portOf(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || text.startsWith('+')) return std::nullopt;
    return static_cast<quint16>(port);
}

// The connection reads a name that starts with a digit as a dotted address, so such a name
// must be one.
bool dottedIPv4(const QString& text) {
    static const QRegularExpression dotted(
        R"(^(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)(\.(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)){3}$)");
    return dotted.match(text).hasMatch();
}

bool hostName(const QString& text) {
    static const QRegularExpression name(
        R"(^(?=.{1,253}$)([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)(\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\.?$)");
    return name.match(text).hasMatch();
}

JoinAddressReading problem(const QString& text) {
    return {std::nullopt, text};
}

} // namespace

JoinAddressReading readJoinAddress(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return problem("Please enter the address of the game's host.");
    QString host = text;
    std::optional<quint16> port;
    bool ipv6 = false;
    if (text.startsWith('[')) {
        const int close = text.indexOf(']');
        if (close < 0) return problem("An IPv6 address in brackets needs its closing \"]\".");
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(':') || !(port = portOf(rest.mid(1))))
                return problem("The port after the address must be a number from 1 to 65535.");
        }
        ipv6 = true;
    } else if (text.count(':') > 1) {
        ipv6 = true; // a bare IPv6 address: every colon belongs to it
    } else if (text.count(':') == 1) {
        host = text.section(':', 0, 0);
        if (!(port = portOf(text.section(':', 1))))
            return problem("The port after the address must be a number from 1 to 65535.");
    }
    if (ipv6) {
        QHostAddress address;
        if (!address.setAddress(host) || address.protocol() != QAbstractSocket::IPv6Protocol)
            return problem("\"" + host + "\" is not an IPv6 address.");
        return {JoinAddress{host, port, true}, {}};
    }
    if (!host.isEmpty() && host[0].isDigit()) {
        if (!dottedIPv4(host)) return problem("\"" + host + "\" is not an IPv4 address.");
    } else if (!hostName(host)) {
        return problem("\"" + host + "\" is not a host name or an address.");
    }
    return {JoinAddress{host, port, false}, {}};
}

QString joinAddressText(const QString& host, std::optional<quint16> port, quint16 usualPort) {
    if (!port || *port == usualPort) return host;
    const QString shown = host.contains(':') ? "[" + host + "]" : host;
    return shown + ":" + QString::number(*port);
}
