#ifndef MODELTABLEWIN3_H
#define MODELTABLEWIN3_H

#include <QAbstractTableModel>

// lignesClassement laid out in four blocks of four columns: block k shows ranks
// k * (ligneMaxWin3 + 1) + 1 onwards, one per row down to row ligneMaxWin3; on the next
// pages the blocks go on from where the previous page ended. The blocks past those that fit
// across stay empty, titles included.
class ModelTableWin3 final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModelTableWin3(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The window rebuilds the list between these two calls.
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endResetModel;

    // The rows that the blocks shown hold: one page.
    int lignesParPage() const;
    int nombrePages() const;
    void montrerPage(int numero);
    void montrerBlocs(int nombre);
    // The index in lignesClassement of the first rank that a block shown holds on this page;
    // -1 when it holds none.
    int premierRang(int bloc) const;

private:
    int page = 0;
    int blocsVus = 4;
};

#endif
