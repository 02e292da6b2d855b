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
    using Apparence::blanc;
    using Apparence::jaune;

    QStringList noms; // built once for the layout and the drawing
    noms.reserve(classementCoupe.size());
    QVector<LargeursTexte> largeurs;
    largeurs.reserve(classementCoupe.size());
    for (const LigneCoupe &ligne : classementCoupe) {
        noms << ligne.nom1 + QLatin1Char(' ') + ligne.nom2;
        largeurs << largeursNoms.mesurer(noms.last());
    }
    const DispositionCoupe disposition =
        disposerCoupe(largeurs, largeur, p, qMax(2 * p, mesureTexte.height()), zoneLibre());
    const int montree = fenetre()->choisirPage(disposition.pages);

    for (int i = 0; i < classementCoupe.size(); ++i) {
        const PlaceCoupe &place = disposition.places.at(i);
        if (place.page != montree)
            continue;
        const int x = place.x;
        const int y = place.y;
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
