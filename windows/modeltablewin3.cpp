#include "windows/modeltablewin3.h"

ModelTableWin3::ModelTableWin3(QObject *parent) : QAbstractTableModel(parent) {}

int ModelTableWin3::rowCount(const QModelIndex &) const
{
    return 0;
}

int ModelTableWin3::columnCount(const QModelIndex &) const
{
    return 0;
}

QVariant ModelTableWin3::data(const QModelIndex &, int) const
{
    return QVariant();
}

QVariant ModelTableWin3::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}
