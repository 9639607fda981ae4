#pragma once
// Where others can join the game this machine hosts: its own addresses that other machines can
// reach (IPv4, the only kind the game's connection speaks; loopback and link-local left out),
// each with ":port" when the host does not use the usual port.

#include <QHostAddress>
#include <QList>
#include <QStringList>

QStringList addressesToJoin(quint16 port, quint16 usualPort);
// The same from a given list of addresses (tests).
QStringList addressesToJoin(const QList<QHostAddress>& own, quint16 port, quint16 usualPort);
// The chat's line: "Others can join this game at: 192.168.1.20, 10.0.0.5" or why they cannot.
// The chat shows a line's text up to its first ":" as a name followed by a blank, so the line
// handed to it has no blank after that colon, and the port's colon never comes first.
QString joinAddressesLine(const QStringList& addresses);
