#include "windows/win1.h"
#include "ui_win1.h"

#include "core/donnees.h"
#include "windows/win1graphique.h"

Win1::Win1(QWidget *parent)
    : FenetreAffichage(1, parent), ui(new Ui::win1), nomsEpreuves(listeNomsEpreuves())
{
    ui->setupUi(this);
    installerCadre(ui->graphicsView, true, ui->tempsEcouleLabel, ui->tempsRestantLabel);
}

Win1::~Win1()
{
    delete ui;
}

void Win1::miseAJour()
{
    afficherChronometres();
    // No event, or an index naming none of the five: keep the last drawing.
    if (!epreuveAffichee())
        return;
    if (!aRedessiner(Empreinte() << indexEpreuveSeries << indexSerieCourante << *epreuveAffichee()))
        return;

    dessinerScene();
    ui->titreLabel->setText(nomsEpreuves.at(indexEpreuveSeries));
}

SceneFenetre *Win1::creerScene()
{
    return new Win1Graphique(this, ui);
}
