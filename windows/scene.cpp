#include "windows/scene.h"

#include "windows/fenetreaffichage.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>

FenetreAffichage *SceneFenetre::fenetre() const
{
    return static_cast<FenetreAffichage *>(parent());
}

QGraphicsSimpleTextItem *ajouterTexte(QGraphicsScene *scene, const QString &texte,
                                      const QFont &fonte, const QColor &couleur, qreal x, qreal y)
{
    // Font before text: the text is then laid out once, not once more in the default font.
    auto *item = new QGraphicsSimpleTextItem;
    item->setFont(fonte);
    item->setText(texte);
    item->setBrush(QBrush(couleur, Qt::SolidPattern));
    item->setPos(x, y);
    scene->addItem(item);
    return item;
}

int largeurBornee(const QFontMetrics &mesure, const QString &texte)
{
    const QRect cadre = mesure.boundingRect(texte);
    return cadre.right() - cadre.left() + 1;
}

QGraphicsSimpleTextItem *ajouterTexteCentre(QGraphicsScene *scene, const QString &texte,
                                            const QFont &fonte, const QFontMetrics &mesure,
                                            const QColor &couleur, qreal debut,
                                            qreal largeurColonne, qreal y)
{
    return ajouterTexte(scene, texte, fonte, couleur,
                        xCentre(debut, largeurColonne, largeurBornee(mesure, texte)), y);
}

QGraphicsLineItem *ajouterLigne(QGraphicsScene *scene, qreal x1, qreal y1, qreal x2, qreal y2,
                                const QPen &crayon)
{
    return scene->addLine(x1, y1, x2, y2, crayon);
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
