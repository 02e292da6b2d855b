#ifndef SCENE_H
#define SCENE_H

#include <QColor>
#include <QGraphicsScene>
#include <QPixmap>
#include <QString>

class FenetreAffichage;
class QFont;
class QFontMetrics;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QPen;

// The scene of a graphic window: rebuilt whole by dessiner() for the view's current size.
class SceneFenetre : public QGraphicsScene
{
    Q_OBJECT

public:
    using QGraphicsScene::QGraphicsScene;
    virtual void dessiner() = 0;

protected:
    // The window the scene draws for, its parent.
    FenetreAffichage *fenetre() const;
};

// Drawing helpers shared by the graphic windows' scenes.

// A simple text item in the font, filled with the colour, its top-left corner at (x, y).
QGraphicsSimpleTextItem *ajouterTexte(QGraphicsScene *scene, const QString &texte,
                                      const QFont &fonte, const QColor &couleur, qreal x, qreal y);

// x of a text of width largeurTexte centred in the column [debut, debut + largeurColonne].
inline qreal xCentre(qreal debut, qreal largeurColonne, qreal largeurTexte)
{
    return debut + 0.5 * (largeurColonne - largeurTexte);
}

// Width of the text's bounding rectangle in the metrics (right - left + 1).
int largeurBornee(const QFontMetrics &mesure, const QString &texte);

// A simple text item centred in the column [debut, debut + largeurColonne] by its bounding
// width, its top at y. The metrics are those of the font, built once by the caller.
QGraphicsSimpleTextItem *ajouterTexteCentre(QGraphicsScene *scene, const QString &texte,
                                            const QFont &fonte, const QFontMetrics &mesure,
                                            const QColor &couleur, qreal debut,
                                            qreal largeurColonne, qreal y);

// A line item from (x1, y1) to (x2, y2) in the pen.
QGraphicsLineItem *ajouterLigne(QGraphicsScene *scene, qreal x1, qreal y1, qreal x2, qreal y2,
                                const QPen &crayon);

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
