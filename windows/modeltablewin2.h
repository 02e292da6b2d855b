#ifndef MODELTABLEWIN2_H
#define MODELTABLEWIN2_H

#include <QAbstractTableModel>

// Ten rows over lignesPreparation; rows past the list are empty.
class ModelTableWin2 final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModelTableWin2(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The window rebuilds the list between these two calls.
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endResetModel;
};

#endif
