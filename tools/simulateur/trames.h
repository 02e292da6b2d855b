#ifndef TRAMES_H
#define TRAMES_H

#include "core/donnees.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Builders of the three blocks a frame may carry. Each returns one whole block, tags
// included, and is a frame by itself; a frame with several blocks is their concatenation.
// After the opening tag comes one ';', then every field followed by ';'.

// A text field as it may travel: ';' becomes ',', '<' and '>' become '‹' and '›', and line
// ends, zero bytes and other control characters become blanks, so that no text can end a
// field, open or close a tag, or split a frame in a recording.
QString champ(const QString &texte);

// The scoreboard of the event in flight. The six leading fields are free (the station skips
// them): missing ones are sent empty, extra ones are dropped.
QByteArray trameEpreuve(const QVector<LigneEpreuve> &lignes, const QStringList &entete = {});

// The series of one event and the chronometers. Every group carries the slot index, and is
// tagged with its rank in the list ("<1>" ... "</1>").
QByteArray trameSeries(int indexEpreuve, int indexSerie, bool drapeau, const QString &ecoule,
                       const QString &restant, int slot, const QVector<GroupeSerie> &groupes);

// The cup classification in display order.
QByteArray trameCoupe(const QString &titre, const QVector<LigneCoupe> &lignes);

#endif
