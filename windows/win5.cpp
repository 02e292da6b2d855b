#include "windows/win5.h"
#include "ui_win5.h"

#include "core/donnees.h"
#include "windows/win5graphique.h"

Win5::Win5(QWidget *parent)
    : FenetreAffichage(5, parent), ui(new Ui::win5), nomsEpreuves(listeNomsEpreuves())
{
    ui->setupUi(this);
    installerCadre(ui->graphicsView, false, ui->tempsEcouleLabel, ui->tempsRestantLabel);
}

Win5::~Win5()
{
    delete ui;
}

void Win5::miseAJour()
{
    afficherChronometres();
    // No event, or an index naming none of the five: keep the last drawing.
    if (indexEpreuveSeries < 0 || indexEpreuveSeries >= nomsEpreuves.size())
        return;

    if (!aRedessiner(Empreinte() << indexEpreuveSeries << lignesEpreuve))
        return;

    // The first event has no scoreboard: no header either.
    ui->topGroupBox->setVisible(indexEpreuveSeries != 0);
    dessinerScene();
    ui->titreLabel->setText(nomsEpreuves.at(indexEpreuveSeries));
}

SceneFenetre *Win5::creerScene()
{
    return new Win5Graphique(this, ui);
}
