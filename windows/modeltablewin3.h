#ifndef MODELTABLEWIN3_H
#define MODELTABLEWIN3_H

#include <QAbstractTableModel>

class ModelTableWin3 final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModelTableWin3(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

#endif
