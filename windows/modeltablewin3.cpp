#include "windows/modeltablewin3.h"

#include "core/donnees.h"
#include "windows/apparence.h"

#include <QColor>

namespace
{
constexpr int blocs = 4;
enum Colonne { Position, Numero, Pilote, Points, ColonnesParBloc };
} // namespace

ModelTableWin3::ModelTableWin3(QObject *parent) : QAbstractTableModel(parent) {}

int ModelTableWin3::rowCount(const QModelIndex &) const
{
    return lignesClassement.size();
}

int ModelTableWin3::columnCount(const QModelIndex &) const
{
    return blocs * ColonnesParBloc;
}

QVariant ModelTableWin3::data(const QModelIndex &index, int role) const
{
    const int taille = lignesClassement.size();
    const int ligne = index.row();
    const int bloc = index.column() / ColonnesParBloc;
    const int sorte = index.column() % ColonnesParBloc;
    if (!index.isValid() || ligne >= taille || bloc >= blocsVus)
        return QVariant();

    switch (role) {
    case Qt::DisplayRole: {
        if (ligne > ligneMaxWin3)
            return QVariant();
        const int premier = premierRang(bloc);
        if (premier < 0 || qint64(premier) + ligne >= taille)
            return QVariant();
        const int i = premier + ligne;
        const LigneClassement &l = lignesClassement.at(i);
        switch (sorte) {
        case Position:
            return i + 1;
        case Numero:
            return l.numero;
        case Pilote:
            return l.nom1 + QLatin1Char(' ') + l.nom2;
        case Points:
            return QString::number(l.points);
        }
        break;
    }
    case Qt::TextAlignmentRole:
        if (sorte != Pilote)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    case Qt::BackgroundRole:
        if (sorte == Position)
            return Apparence::fondPosition;
        break;
    case Qt::ForegroundRole:
        if (sorte == Position)
            return Apparence::cyanPale;
        if (sorte == Numero)
            return Apparence::jaunePale;
        break;
    }
    return QVariant();
}

int ModelTableWin3::lignesParPage() const
{
    return blocsVus * qMax(0, ligneMaxWin3 + 1);
}

int ModelTableWin3::nombrePages() const
{
    const int parPage = lignesParPage();
    return parPage > 0 ? (rowCount() + parPage - 1) / parPage : 1;
}

int ModelTableWin3::premierRang(int bloc) const
{
    if (ligneMaxWin3 < 0)
        return -1;
    const qint64 premier =
        qint64(bloc) * (qint64(ligneMaxWin3) + 1) + qint64(page) * lignesParPage();
    return premier < lignesClassement.size() ? int(premier) : -1;
}

void ModelTableWin3::montrerPage(int numero)
{
    if (numero == page)
        return;
    page = numero;
    emit dataChanged(index(0, 0), index(qMax(0, rowCount() - 1), columnCount() - 1));
}

void ModelTableWin3::montrerBlocs(int nombre)
{
    if (nombre == blocsVus)
        return;
    blocsVus = nombre;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    emit dataChanged(index(0, 0), index(qMax(0, rowCount() - 1), columnCount() - 1));
}

QVariant ModelTableWin3::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount() || section / ColonnesParBloc >= blocsVus)
        return QVariant();
    static const char *const titres[ColonnesParBloc] = {"Pos.", "Vellor n°", "Pilote", "Points"};
    return QString::fromUtf8(titres[section % ColonnesParBloc]);
}
