#include "windows/win3.h"
#include "ui_win3.h"

#include "network/donnees.h"
#include "windows/modeltablewin3.h"

Win3::Win3(QWidget *parent) : FenetreAffichage(3, parent), ui(new Ui::win3)
{
    ui->setupUi(this);
    installerCadre(ui->tableView, true, ui->tempsEcouleLabel, ui->tempsRestantLabel);
}

Win3::~Win3()
{
    delete model;
    delete ui;
}

void Win3::miseAJour()
{
    afficherChronometres();
}

void Win3::showEvent(QShowEvent *event)
{
    FenetreAffichage::showEvent(event);
    miseAJour();
}

void Win3::resizeEvent(QResizeEvent *event)
{
    FenetreAffichage::resizeEvent(event);
}
