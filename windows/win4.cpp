#include "windows/win4.h"
#include "ui_win4.h"

#include "network/donnees.h"
#include "windows/win4graphique.h"

Win4::Win4(QWidget *parent) : FenetreAffichage(4, parent), ui(new Ui::win4)
{
    ui->setupUi(this);
    installerCadre(ui->graphicsView, true);
}

Win4::~Win4()
{
    delete ui;
}

void Win4::miseAJour()
{
    afficherChronometres();
}

void Win4::resizeEvent(QResizeEvent *event)
{
    FenetreAffichage::resizeEvent(event);
    miseAJour();
}
