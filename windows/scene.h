#ifndef SCENE_H
#define SCENE_H

#include <QColor>
#include <QPixmap>
#include <QString>

class QFont;
class QFontMetrics;
class QGraphicsScene;
class QGraphicsSimpleTextItem;

// Drawing helpers shared by the graphic windows' scenes.

// A simple text item in the font, filled with the colour, its top-left corner at (x, y).
QGraphicsSimpleTextItem *ajouterTexte(QGraphicsScene *scene, const QString &texte,
                                      const QFont &police, const QColor &couleur, qreal x, qreal y);

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
    void ajouter(QGraphicsScene *scene, qreal largeur, qreal hauteur);

private:
    QPixmap original;
    QPixmap miseAEchelle;
    int hauteurMiseAEchelle = -1;
};

#endif
