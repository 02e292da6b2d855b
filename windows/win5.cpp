#include "windows/win5.h"
#include "ui_win5.h"

#include "network/donnees.h"
#include "windows/win5graphique.h"

Win5::Win5(QWidget *parent) : FenetreAffichage(5, parent), ui(new Ui::win5)
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
}

void Win5::resizeEvent(QResizeEvent *event)
{
    FenetreAffichage::resizeEvent(event);
    miseAJour();
}
