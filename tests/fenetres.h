#ifndef FENETRES_H
#define FENETRES_H

#include "windows/win1.h"
#include "windows/win2.h"
#include "windows/win3.h"
#include "windows/win4.h"
#include "windows/win5.h"

#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTableView>

#include <memory>

// A change of the store, as a column of a test table.
using Changement = void (*)();
Q_DECLARE_METATYPE(Changement)

// Display window n (1 to 5), shown at the given size and drawn from the store.
inline std::unique_ptr<FenetreAffichage> fenetreMontree(int n, int largeur, int hauteur)
{
    std::unique_ptr<FenetreAffichage> f(n == 1   ? new Win1
                                        : n == 2 ? new Win2
                                        : n == 3 ? new Win3
                                        : n == 4 ? new Win4
                                                 : static_cast<FenetreAffichage *>(new Win5));
    f->resize(largeur, hauteur);
    f->show();
    f->miseAJour();
    return f;
}

// The window's title as shown.
inline QString titre(const QWidget *f)
{
    return f->findChildren<QLabel *>(QRegularExpression("^titre2?Label$")).at(0)->text();
}

// A colour as a viewer names it.
inline QString famille(const QColor &c)
{
    static const QStringList noms{"rouge", "jaune", "vert", "cyan", "bleu", "magenta"};
    if (c.hslHue() < 0)
        return c.lightness() > 127 ? "blanc" : "noir";
    return noms[(c.hslHue() + 30) / 60 % 6];
}

// Cells of a table row as a viewer reads them, joined by "|": the text, "=" when centred, and
// the colour when the cell has one of its own.
inline QString rangee(const QTableView *table, int ligne, int premiere, int nombre)
{
    QStringList cellules;
    for (int c = premiere; c < premiere + nombre; ++c) {
        const QModelIndex i = table->model()->index(ligne, c);
        const QVariant couleur = i.data(Qt::ForegroundRole);
        cellules << i.data().toString() +
                        (i.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter ? "=" : "") +
                        (couleur.isValid() ? ' ' + famille(couleur.value<QColor>()) : QString());
    }
    return cellules.join('|');
}

// The header's titles, joined by "|".
inline QString entetes(const QTableView *table)
{
    QStringList titres;
    for (int c = 0; c < table->model()->columnCount(); ++c)
        titres << table->model()->headerData(c, Qt::Horizontal).toString();
    return titres.join('|');
}

// The colour a viewer sees behind the table's second header title.
inline QColor fondEntete(QTableView *table)
{
    QHeaderView *h = table->horizontalHeader();
    return h->grab().toImage().pixelColor(h->sectionViewportPosition(1) + 3, h->height() / 2);
}

// Every item of type T in the scene, from the bottom up, shown or not: a reader of the scene
// sees them all.
template <class T> QList<T *> elements(const QGraphicsView *vue)
{
    QList<T *> liste;
    for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder))
        if (auto *t = qgraphicsitem_cast<T *>(item))
            liste << t;
    return liste;
}

// The scene's text item that shows `texte`, null if none.
inline QGraphicsSimpleTextItem *texteScene(const QGraphicsView *vue, const QString &texte)
{
    for (auto *t : elements<QGraphicsSimpleTextItem>(vue))
        if (t->text() == texte)
            return t;
    return nullptr;
}

#endif
