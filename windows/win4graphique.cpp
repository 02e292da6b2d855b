#include "windows/win4graphique.h"
#include "ui_win4.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/apparence.h"

#include <QFontMetrics>
#include <QPolygonF>

// The rank badge: a parallelogram leaning right, from y - 2 to y + 20 for a 16-pixel rank.
static void ajouterBadge(QGraphicsScene *scene, int x, int y, int p)
{
    const QPolygonF badge({QPointF(x + 8, y - p + 14), QPointF(x + 48, y - p + 14),
                           QPointF(x + 40, y + p + 4), QPointF(x, y + p + 4)});
    scene->addPolygon(badge, QPen(Apparence::bleuBadge), QBrush(Apparence::bleuBadge));
}

Win4Graphique::Win4Graphique(QWidget *fenetre, Ui::win4 *form)
    : SceneFenetre(fenetre), form(form), fond(QStringLiteral(":/icones/fond.png"))
{
}

void Win4Graphique::dessiner()
{
    clear();
    const int largeur = form->graphicsView->width();
    const qreal hauteur = form->graphicsView->height();
    setSceneRect(0, 0, largeur, hauteur);

    QFont fonteRang(QStringLiteral("Arial Black"));
    fonteRang.setWeight(QFont::Normal);
    fonteRang.setPixelSize(16);
    QFont fonteTexte(QStringLiteral("Arial"));
    fonteTexte.setWeight(QFont::Normal);
    // This window's font step; one read from the settings file may lie outside the slider's
    // range and must not give an invalid size.
    fonteTexte.setPixelSize(qMax(1, parametres.fenetresInfo[3].TailleFonte + 16));
    const QFontMetrics mesureRang(fonteRang);
    const QFontMetrics mesureTexte(fonteTexte);

    fond.ajouter(this, largeur, hauteur);

    const int p = fonteRang.pixelSize();
    const int pas = 2 * p;
    using Apparence::blanc;
    using Apparence::jaune;

    int x = 20;
    int y = p;
    int droite = 0; // right end of the longest name of the column
    for (int i = 0; i < classementCoupe.size(); ++i) {
        const LigneCoupe &ligne = classementCoupe.at(i);
        ajouterBadge(this, x, y, p);

        QString rang = ligne.rang;
        rang.remove(QStringLiteral("ex aequo"));
        const QRect cadreRang = mesureRang.boundingRect(rang);
        // Centred on the badge, from the rank's bounding rectangle.
        ajouterTexte(this, rang, fonteRang, blanc, xCentre(x, 46, cadreRang.width()),
                     y + 8 - 0.5 * cadreRang.height());

        ajouterTexte(this, QString::number(ligne.points), fonteTexte, blanc, x + 80, y);
        ajouterTexte(this, QString::number(ligne.numero), fonteTexte, jaune, x + 140, y);
        const QString nom = ligne.nom1 + QLatin1Char(' ') + ligne.nom2;
        ajouterTexte(this, nom, fonteTexte, blanc, x + 200, y);
        droite = qMax(droite, x + 200 + mesureTexte.boundingRect(nom).width());

        if (i + 1 < classementCoupe.size()) {
            y += pas;
            // Columns past the right edge are drawn all the same, out of sight.
            if (y + pas > hauteur) {
                x = droite + 40;
                y = p;
                droite = 0;
            }
        }
    }
}
