#include "windows/scene.h"

#include "windows/fenetreaffichage.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>

FenetreAffichage *SceneFenetre::fenetre() const
{
    return static_cast<FenetreAffichage *>(parent());
}

ZoneLibre SceneFenetre::zoneLibre() const
{
    return [f = fenetre()](const QRectF &zone) { return f->zoneLibre(zone); };
}

void MesuresTextes::utiliser(const QFont &nouvelle)
{
    if (nouvelle == fonte)
        return;
    fonte = nouvelle;
    mesure = QFontMetrics(fonte);
    connues.clear();
}

LargeursTexte MesuresTextes::mesurer(const QString &texte)
{
    const auto connue = connues.constFind(texte);
    if (connue != connues.cend())
        return *connue;
    // Names that went away are forgotten now and then rather than kept all day.
    if (connues.size() > 4096)
        connues.clear();
    const int encre = mesure.boundingRect(texte).width();
    const LargeursTexte largeurs{encre, qMax(encre, mesure.horizontalAdvance(texte) + 1)};
    connues.insert(texte, largeurs);
    return largeurs;
}

void SceneFenetre::commencer()
{
    images.utilises = polygones.utilises = rectangles.utilises = textes.utilises = lignes.utilises = 0;
}

template <class Item> Item *SceneFenetre::suivant(Reserve<Item> &reserve, qreal z)
{
    if (reserve.utilises == reserve.items.size()) {
        auto *item = new Item;
        item->setZValue(z);
        addItem(item);
        reserve.items.append(item);
    }
    return reserve.items.at(reserve.utilises++);
}

template <class Item> void SceneFenetre::retirerReste(Reserve<Item> &reserve)
{
    for (int i = reserve.utilises; i < reserve.items.size(); ++i)
        delete reserve.items.at(i);
    reserve.items.resize(reserve.utilises);
}

void SceneFenetre::terminer()
{
    retirerReste(images);
    retirerReste(polygones);
    retirerReste(rectangles);
    retirerReste(textes);
    retirerReste(lignes);
}

void SceneFenetre::image(const QPixmap &image, qreal x, qreal y)
{
    QGraphicsPixmapItem *item = suivant(images, -2);
    if (item->pixmap().cacheKey() != image.cacheKey())
        item->setPixmap(image);
    item->setPos(x, y);
}

void SceneFenetre::polygone(const QPolygonF &forme, const QColor &couleur)
{
    QGraphicsPolygonItem *item = suivant(polygones, -1);
    if (item->polygon() != forme)
        item->setPolygon(forme);
    item->setPen(QPen(couleur));
    item->setBrush(couleur);
}

void SceneFenetre::rectangle(const QRectF &zone, const QColor &couleur)
{
    QGraphicsRectItem *item = suivant(rectangles, -1);
    if (item->rect() != zone)
        item->setRect(zone);
    item->setPen(QPen(couleur));
    item->setBrush(couleur);
}

void SceneFenetre::texte(const QString &texte, const QFont &fonte, const QColor &couleur, qreal x,
                         qreal y)
{
    QGraphicsSimpleTextItem *item = suivant(textes, 0);
    // Font before text, each only when it changed: the text is laid out once at most.
    if (item->font() != fonte)
        item->setFont(fonte);
    if (item->text() != texte)
        item->setText(texte);
    item->setBrush(QBrush(couleur, Qt::SolidPattern));
    item->setPos(x, y);
}

void SceneFenetre::ligne(qreal x1, qreal y1, qreal x2, qreal y2, const QPen &crayon)
{
    QGraphicsLineItem *item = suivant(lignes, 1);
    item->setLine(x1, y1, x2, y2);
    item->setPen(crayon);
}

FondScene::FondScene(const QString &chemin) : original(chemin) {}

const QPixmap &FondScene::aLaHauteur(qreal hauteur)
{
    const int h = int(hauteur);
    if (h != hauteurMiseAEchelle) {
        miseAEchelle = original.scaledToHeight(h, Qt::FastTransformation);
        hauteurMiseAEchelle = h;
    }
    return miseAEchelle;
}
