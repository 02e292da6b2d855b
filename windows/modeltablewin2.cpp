#include "windows/modeltablewin2.h"

#include "core/donnees.h"
#include "core/selection.h"
#include "windows/apparence.h"

#include <QColor>

namespace
{
enum Colonne { Position, Numero, Pilote, Club, NombreColonnes };
}

ModelTableWin2::ModelTableWin2(QObject *parent) : QAbstractTableModel(parent) {}

int ModelTableWin2::rowCount(const QModelIndex &) const
{
    return lignesPreparationMax;
}

int ModelTableWin2::columnCount(const QModelIndex &) const
{
    return NombreColonnes;
}

QVariant ModelTableWin2::data(const QModelIndex &index, int role) const
{
    const int r = index.row();
    if (!index.isValid() || r >= lignesPreparation.size())
        return QVariant();
    const LignePreparation &ligne = lignesPreparation.at(r);
    const int c = index.column();

    switch (role) {
    case Qt::DisplayRole:
        switch (c) {
        case Position:
            return r + 1;
        case Numero:
            return ligne.numero;
        case Pilote:
            return QStringLiteral("  ") + ligne.nom2 + QLatin1Char(' ') + ligne.nom1 +
                   QStringLiteral("  ");
        case Club:
            return QStringLiteral("  ") + ligne.club;
        }
        break;
    case Qt::ForegroundRole:
        if (c == Position)
            return Apparence::cyanPale;
        if (c == Numero)
            return Apparence::jaune;
        break;
    case Qt::TextAlignmentRole:
        if (c == Position || c == Numero)
            return int(Qt::AlignCenter);
        break;
    }
    return QVariant();
}

QVariant ModelTableWin2::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case Position:
        return QStringLiteral("Position");
    case Numero:
        return QStringLiteral("Vellor n°");
    case Pilote:
        return QStringLiteral("Pilote");
    case Club:
        return QStringLiteral("Club");
    }
    return QVariant();
}
