#include "windows/scene.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>

QGraphicsSimpleTextItem *ajouterTexte(QGraphicsScene *scene, const QString &texte,
                                      const QFont &police, const QColor &couleur, qreal x, qreal y)
{
    QGraphicsSimpleTextItem *item = scene->addSimpleText(texte, police);
    item->setBrush(QBrush(couleur, Qt::SolidPattern));
    item->setPos(x, y);
    return item;
}

FondScene::FondScene(const QString &chemin) : original(chemin) {}

void FondScene::ajouter(QGraphicsScene *scene, qreal largeur, qreal hauteur)
{
    const int h = int(hauteur);
    if (h != hauteurMiseAEchelle) {
        miseAEchelle = original.scaledToHeight(h, Qt::FastTransformation);
        hauteurMiseAEchelle = h;
    }
    QGraphicsPixmapItem *item = scene->addPixmap(miseAEchelle);
    item->setPos((largeur - miseAEchelle.width()) * 0.5, 0);
}
