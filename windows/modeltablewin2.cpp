#include "windows/modeltablewin2.h"

ModelTableWin2::ModelTableWin2(QObject *parent) : QAbstractTableModel(parent) {}

int ModelTableWin2::rowCount(const QModelIndex &) const
{
    return 0;
}

int ModelTableWin2::columnCount(const QModelIndex &) const
{
    return 0;
}

QVariant ModelTableWin2::data(const QModelIndex &, int) const
{
    return QVariant();
}

QVariant ModelTableWin2::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}
