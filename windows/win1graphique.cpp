#include "windows/win1graphique.h"
#include "ui_win1.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/apparence.h"

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
    clear();
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
    using namespace Apparence;
    const QPen crayonCadre(blanc, epaisseurTrait);

    const EpreuveSeries *epreuve = epreuveAffichee();
    const QVector<GroupeSerie> groupes = epreuve ? epreuve->groupes : QVector<GroupeSerie>();

    // Every column gets the width of the widest line of the event.
    const int largeurNumero = largeurBornee(mesure, QStringLiteral("8888..."));
    int colonne = 0;
    for (const GroupeSerie &groupe : groupes) {
        for (const PiloteSerie &pilote : groupe.pilotes)
            colonne = qMax(colonne, largeurNumero + largeurBornee(mesure, nomPilote(pilote)) + 16);
    }

    fond.ajouter(this, largeur, hauteur);
    if (groupes.isEmpty())
        return;

    int x = 20;
    int hautBande = 0;
    int yTitre = u;
    int basMax = 0;
    for (int k = 0; k < groupes.size(); ++k) {
        const GroupeSerie &groupe = groupes.at(k);
        ajouterTexte(this, QStringLiteral("Série n° ") + QString::number(k + 1), fonteTitre, cyan,
                     x, yTitre);

        int y = yTitre + pas;
        for (const PiloteSerie &pilote : groupe.pilotes) {
            ajouterTexte(this, QString::number(pilote.numero), fonteLigne, jaune, x, y);
            const QColor couleur = !groupe.avecResultats ? blanc : pilote.reussi ? vert : rouge;
            ajouterTexte(this, nomPilote(pilote), fonteLigne, couleur, x + largeurNumero, y);
            y += pas;
        }
        basMax = qMax(basMax, y);

        if (k == indexSerieCourante) {
            // The bottom follows the longest group drawn so far, so the frame reaches
            // down to the longest earlier group of the band.
            const int gauche = x - 8;
            const int haut = yTitre - 4;
            const int droite = x + colonne;
            const int bas = basMax - 4;
            ajouterLigne(this, gauche, haut, droite, haut, crayonCadre);
            ajouterLigne(this, droite, haut, droite, bas, crayonCadre);
            ajouterLigne(this, droite, bas, gauche, bas, crayonCadre);
            ajouterLigne(this, gauche, haut, gauche, bas, crayonCadre);
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
}
