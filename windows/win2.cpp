#include "windows/win2.h"
#include "ui_win2.h"

#include "network/donnees.h"
#include "windows/modeltablewin2.h"

Win2::Win2(QWidget *parent) : FenetreAffichage(2, parent), ui(new Ui::win2)
{
    ui->setupUi(this);
    installerCadre(ui->tableView, true, ui->tempsEcouleLabel, ui->tempsRestantLabel);
}

Win2::~Win2()
{
    delete model;
    delete ui;
}

void Win2::miseAJour()
{
    afficherChronometres();
}

void Win2::showEvent(QShowEvent *event)
{
    FenetreAffichage::showEvent(event);
    miseAJour();
}

void Win2::resizeEvent(QResizeEvent *event)
{
    FenetreAffichage::resizeEvent(event);
}
