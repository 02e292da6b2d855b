#ifndef SCENE_H
#define SCENE_H

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QVector>

#include "windows/disposition.h"

class FenetreAffichage;
class QFont;
class QGraphicsLineItem;
class QGraphicsPixmapItem;
class QGraphicsPolygonItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QPen;
class QPolygonF;

// Widths of texts in one font, kept from one drawing to the next: the same names come back
// with every frame, and measuring a text lays it out.
class MesuresTextes final
{
public:
    // Forgets every width when the font changed.
    void utiliser(const QFont &fonte);
    LargeursTexte mesurer(const QString &texte);
    int encre(const QString &texte) { return mesurer(texte).encre; }

private:
    QFont fonte;
    QFontMetrics mesure{fonte};
    QHash<QString, LargeursTexte> connues;
};

// The scene of a graphic window, drawn by dessiner() for the view's current size.
class SceneFenetre : public QGraphicsScene
{
    Q_OBJECT

public:
    using QGraphicsScene::QGraphicsScene;
    virtual void dessiner() = 0;

    // A drawing through the members below reuses the items of the previous one, in the
    // order they are asked for: an item whose text, font, colour and place did not change
    // costs nothing. terminer() drops what the drawing did not use, so that the scene holds
    // exactly the items of its last drawing.
    void commencer();
    void terminer();

protected:
    // The window the scene draws for, its parent, and what of its view is seen whole.
    FenetreAffichage *fenetre() const;
    ZoneLibre zoneLibre() const;

    // Stacked, whatever the order of the drawing: the picture, the shapes, the texts, the
    // lines.
    void image(const QPixmap &image, qreal x, qreal y);
    void polygone(const QPolygonF &forme, const QColor &couleur);
    void rectangle(const QRectF &zone, const QColor &couleur);
    void texte(const QString &texte, const QFont &fonte, const QColor &couleur, qreal x, qreal y);
    void ligne(qreal x1, qreal y1, qreal x2, qreal y2, const QPen &crayon);

private:
    template <class Item> struct Reserve {
        QVector<Item *> items;
        int utilises = 0;
    };
    template <class Item> Item *suivant(Reserve<Item> &reserve, qreal z);
    template <class Item> static void retirerReste(Reserve<Item> &reserve);

    Reserve<QGraphicsPixmapItem> images;
    Reserve<QGraphicsPolygonItem> polygones;
    Reserve<QGraphicsRectItem> rectangles;
    Reserve<QGraphicsSimpleTextItem> textes;
    Reserve<QGraphicsLineItem> lignes;
};

// x of a text of width largeurTexte centred in the column [debut, debut + largeurColonne].
inline qreal xCentre(qreal debut, qreal largeurColonne, qreal largeurTexte)
{
    return debut + 0.5 * (largeurColonne - largeurTexte);
}

// The background picture scaled to the scene height and centred, under every other item.
// The scaled copy is kept while the height does not change.
class FondScene final
{
public:
    explicit FondScene(const QString &chemin);
    // The picture at the scene's height.
    const QPixmap &aLaHauteur(qreal hauteur);

private:
    QPixmap original;
    QPixmap miseAEchelle;
    int hauteurMiseAEchelle = -1;
};

#endif
