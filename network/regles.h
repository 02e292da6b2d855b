#ifndef REGLES_H
#define REGLES_H

#include <QHostAddress>
#include <QList>
#include <QStringList>
#include <QUrl>

// The rules of the values an organiser types for the network (settings file, settings dialog,
// command line): pure functions.

// The addresses of a sender list such as "192.168.1.10, 10.0.0.2"; the texts that are not one
// are listed in `invalides` when given.
QList<QHostAddress> adressesDepuis(const QStringList &textes, QStringList *invalides = nullptr);

// A relay's publishing address: http or https with a host, as typed; empty when the text is
// not one.
QUrl adresseRelais(const QString &texte);

#endif
