#include "windows/win1graphique.h"
#include "ui_win1.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/apparence.h"
#include "windows/fenetreaffichage.h"

#include <QFontMetrics>
#include <QPen>

Win1Graphique::Win1Graphique(QWidget *fenetre, Ui::win1 *form)
    : SceneFenetre(fenetre), form(form), fond(QStringLiteral(":/icones/fond.png"))
{
}

static QString nomPilote(const PiloteSerie &pilote)
{
    return pilote.nom1 + QLatin1Char(' ') + pilote.nom2;
}

void Win1Graphique::dessiner()
{
    const int largeur = form->graphicsView->width();
    const int hauteur = form->graphicsView->height();
    setSceneRect(0, 0, largeur, hauteur);

    // The title size sets the pitch of every line, whatever the font step.
    const int u = 16;
    const int pas = 2 * u;

    QFont fonteTitre(QStringLiteral("Arial Black"));
    fonteTitre.setPixelSize(u);
    QFont fonteLigne(QStringLiteral("Arial"));
    // A step outside the slider's range read from the settings file must not give an
    // invalid size.
    fonteLigne.setPixelSize(qMax(1, parametres.fenetresInfo[0].TailleFonte + 16));
    const QFontMetrics mesure(fonteLigne);
    largeursNoms.utiliser(fonteLigne);
    using namespace Apparence;
    const QPen crayonCadre(blanc, epaisseurTrait);

    const EpreuveSeries *epreuve = epreuveAffichee();
    const QVector<GroupeSerie> groupes = epreuve ? epreuve->groupes : QVector<GroupeSerie>();

    // Every column gets the width of the widest line of the event.
    const int largeurNumero = largeurBornee(mesure, QStringLiteral("8888..."));
    int colonne = 0;
    for (const GroupeSerie &groupe : groupes) {
        for (const PiloteSerie &pilote : groupe.pilotes)
            colonne = qMax(colonne, largeurNumero + largeursNoms.encre(nomPilote(pilote)) + 16);
    }

    const QPixmap &image = fond.aLaHauteur(hauteur);
    this->image(image, (largeur - image.width()) * 0.5, 0);
    if (groupes.isEmpty()) {
        fenetre()->choisirPage(1);
        return;
    }

    // Where each series goes, page by page: the flow of columns and bands, a series that the
    // bottom edge or the results page's corner would cut starting the next page; one taller
    // than the whole view is split there.
    struct Morceau {
        int groupe, premier, fin, page, x, yTitre;
    };
    QVector<Morceau> morceaux;
    const int hauteurTitre = QFontMetrics(fonteTitre).height();
    int page = 0;
    int pageSerieCourante = -1;
    int x = 20;
    int hautBande = 0;
    int yTitre = u;
    int basMax = 0;
    bool pageVide = true;
    const auto pageSuivante = [&] {
        ++page;
        x = 20;
        hautBande = 0;
        yTitre = u;
        basMax = 0;
        pageVide = true;
    };
    for (int k = 0; k < groupes.size(); ++k) {
        const int taille = groupes.at(k).pilotes.size();
        int premier = 0;
        for (;;) {
            // Its title and its lines seen whole, and the frame of the series in flight, which
            // reaches down to the longest series of its band.
            const auto tient = [&](int fin) {
                const int lignes = fin - premier;
                int bas = qMax(yTitre + hauteurTitre,
                               lignes > 0 ? yTitre + pas * lignes + mesure.height() : 0);
                if (k == indexSerieCourante)
                    bas = qMax(bas, qMax(basMax, yTitre + pas * (lignes + 1)) - 3);
                return fenetre()->zoneLibre(QRectF(
                    x - 8, yTitre - 4, qMin(colonne + 8, largeur - x + 8), bas - yTitre + 4));
            };
            int fin = taille;
            if (!tient(fin)) {
                if (!pageVide) {
                    pageSuivante();
                    continue;
                }
                // Alone and still too tall: as many pilots as fit, at least one.
                while (fin > premier + 1 && !tient(fin))
                    --fin;
            }
            morceaux.append({k, premier, fin, page, x, yTitre});
            pageVide = false;
            if (k == indexSerieCourante && pageSerieCourante < 0)
                pageSerieCourante = page;
            basMax = qMax(basMax, yTitre + pas * (fin - premier + 1));
            premier = fin;
            if (premier >= taille)
                break;
            pageSuivante(); // the rest of the series opens the next page
        }
        if (k + 1 < groupes.size()) {
            x += colonne + 20;
            if (x + colonne + 10 > largeur) {
                x = 20;
                hautBande = basMax + u;
            }
            yTitre = hautBande + u;
        }
    }
    // The series in flight is shown at once when it changes.
    const bool nouvelleSerie =
        indexSerieCourante != serieMontree || indexEpreuveSeries != epreuveMontree;
    serieMontree = indexSerieCourante;
    epreuveMontree = indexEpreuveSeries;
    const int montree = fenetre()->choisirPage(
        page + 1, nouvelleSerie && pageSerieCourante >= 0 ? pageSerieCourante : -1);

    basMax = 0;
    for (const Morceau &m : std::as_const(morceaux)) {
        if (m.page != montree)
            continue;
        const GroupeSerie &groupe = groupes.at(m.groupe);
        texte(QStringLiteral("Série n° ") + QString::number(m.groupe + 1), fonteTitre, cyan, m.x,
              m.yTitre);
        int y = m.yTitre + pas;
        for (int i = m.premier; i < m.fin; ++i) {
            const PiloteSerie &pilote = groupe.pilotes.at(i);
            texte(QString::number(pilote.numero), fonteLigne, jaune, m.x, y);
            const QColor couleur = !groupe.avecResultats ? blanc : pilote.reussi ? vert : rouge;
            texte(nomPilote(pilote), fonteLigne, couleur, m.x + largeurNumero, y);
            y += pas;
        }
        // The bottom follows the longest group drawn so far on the page, so the frame
        // reaches down to the longest earlier group of the band.
        basMax = qMax(basMax, y);
        if (m.groupe == indexSerieCourante) {
            const int gauche = m.x - 8;
            const int haut = m.yTitre - 4;
            const int droite = m.x + colonne;
            const int bas = basMax - 4;
            ligne(gauche, haut, droite, haut, crayonCadre);
            ligne(droite, haut, droite, bas, crayonCadre);
            ligne(droite, bas, gauche, bas, crayonCadre);
            ligne(gauche, haut, gauche, bas, crayonCadre);
        }
    }
}
