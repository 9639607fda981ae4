#include "joinaddresses.h"

#include <QNetworkInterface>

QStringList addressesToJoin(const QList<QHostAddress>& own, quint16 port, quint16 usualPort) {
    QStringList out;
    for (const QHostAddress& a : own) {
        if (a.protocol() != QAbstractSocket::IPv4Protocol || a.isLoopback() || a.isLinkLocal())
            continue;
        QString text = a.toString();
        if (port != usualPort) text += ":" + QString::number(port);
        if (!out.contains(text)) out << text;
    }
    return out;
}

QStringList addressesToJoin(quint16 port, quint16 usualPort) {
    return addressesToJoin(QNetworkInterface::allAddresses(), port, usualPort);
}

QString joinAddressesLine(const QStringList& addresses) {
    if (addresses.isEmpty())
        return "This machine has no network address that others could join this game at.";
    return "Others can join this game at:" + addresses.join(", ");
}
