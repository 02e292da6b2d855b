#include "windows/win4graphique.h"
#include "ui_win4.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/apparence.h"
#include "windows/fenetreaffichage.h"

#include <QFontMetrics>
#include <QPolygonF>

// The rank badge: a parallelogram leaning right, from y - 2 to y + 20 for a 16-pixel rank.
static QPolygonF badge(int x, int y, int p)
{
    return QPolygonF({QPointF(x + 8, y - p + 14), QPointF(x + 48, y - p + 14),
                      QPointF(x + 40, y + p + 4), QPointF(x, y + p + 4)});
}

Win4Graphique::Win4Graphique(QWidget *fenetre, Ui::win4 *form)
    : SceneFenetre(fenetre), form(form), fond(QStringLiteral(":/icones/fond.png"))
{
}

void Win4Graphique::dessiner()
{
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
    largeursNoms.utiliser(fonteTexte);

    const QPixmap &image = fond.aLaHauteur(hauteur);
    this->image(image, (largeur - image.width()) * 0.5, 0);

    const int p = fonteRang.pixelSize();
    const int pas = 2 * p;
    using Apparence::blanc;
    using Apparence::jaune;

    // Where each row goes, page by page: a row the bottom edge or the results page's corner
    // would cut starts a new column, and a column the right edge would cut starts the next
    // page; a first column too wide for the view stays where it is.
    struct Place {
        int page, x, y;
    };
    QVector<Place> places(classementCoupe.size());
    QStringList noms; // built once for the layout and the drawing
    noms.reserve(classementCoupe.size());
    for (const LigneCoupe &ligne : classementCoupe)
        noms << ligne.nom1 + QLatin1Char(' ') + ligne.nom2;
    const int hauteurLigne = qMax(pas, mesureTexte.height());
    int page = 0;
    int x = 20;
    int y = p;
    int droite = 0;  // right end of the longest name of the column, where the next begins
    int etendue = 0; // right end of the column's widest item
    int debutColonne = 0;
    for (int i = 0; i < classementCoupe.size(); ++i) {
        const QString &texteNom = noms.at(i);
        const int fin = x + 200 + largeursNoms.encre(texteNom);
        // The item spans the text's advance, at times wider than its ink.
        const int bordItem = x + 200 + largeursNoms.etendue(texteNom);
        if (x > 20 && qMax(bordItem, etendue) > largeur) {
            ++page;
            x = 20;
            y = p;
            droite = etendue = 0;
            i = debutColonne - 1;
            continue;
        }
        const int bord = qMin(bordItem, largeur); // a first column too wide is cut all the same
        if (y > p && !fenetre()->zoneLibre(QRectF(x, y - 2, bord - x, hauteurLigne + 2))) {
            x = droite + 40;
            y = p;
            droite = etendue = 0;
            debutColonne = i;
            --i;
            continue;
        }
        places[i] = {page, x, y};
        droite = qMax(droite, fin);
        etendue = qMax(etendue, bordItem);
        y += pas;
    }
    const int montree = fenetre()->choisirPage(page + 1);

    for (int i = 0; i < classementCoupe.size(); ++i) {
        if (places.at(i).page != montree)
            continue;
        const int x = places.at(i).x;
        const int y = places.at(i).y;
        const LigneCoupe &ligne = classementCoupe.at(i);
        polygone(badge(x, y, p), Apparence::bleuBadge);

        QString rang = ligne.rang;
        rang.remove(QStringLiteral("ex aequo"));
        const QRect cadreRang = mesureRang.boundingRect(rang);
        // Centred on the badge, from the rank's bounding rectangle.
        texte(rang, fonteRang, blanc, xCentre(x, 46, cadreRang.width()),
              y + 8 - 0.5 * cadreRang.height());

        texte(QString::number(ligne.points), fonteTexte, blanc, x + 80, y);
        texte(QString::number(ligne.numero), fonteTexte, jaune, x + 140, y);
        texte(noms.at(i), fonteTexte, blanc, x + 200, y);
    }
}
