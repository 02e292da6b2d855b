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
    const int largeurNumero = largeursNoms.encre(QStringLiteral("8888..."));
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

    QVector<int> tailles;
    for (const GroupeSerie &groupe : groupes)
        tailles << groupe.pilotes.size();
    const DispositionSeries disposition = disposerSeries(
        tailles, indexSerieCourante,
        {largeur, colonne, u, QFontMetrics(fonteTitre).height(), mesure.height()}, zoneLibre());

    // The series in flight is shown at once when it changes.
    const bool nouvelleSerie =
        indexSerieCourante != serieMontree || indexEpreuveSeries != epreuveMontree;
    serieMontree = indexSerieCourante;
    epreuveMontree = indexEpreuveSeries;
    const int montree = fenetre()->choisirPage(
        disposition.pages,
        nouvelleSerie && disposition.pageSerieCourante >= 0 ? disposition.pageSerieCourante : -1);

    int basMax = 0;
    for (const Morceau &m : disposition.morceaux) {
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
