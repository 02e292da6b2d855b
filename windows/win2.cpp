#include "windows/win2.h"
#include "ui_win2.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "core/selection.h"
#include "windows/apparence.h"
#include "windows/modeltablewin2.h"
#include "windows/tableau.h"

#include <QHeaderView>

Win2::Win2(QWidget *parent) : FenetreAffichage(2, parent), ui(new Ui::win2)
{
    ui->setupUi(this);
    installerCadre(ui->tableView, true, ui->tempsEcouleLabel, ui->tempsRestantLabel);
    // The ten rows share the view's height exactly, even under a font taller than a row.
    ui->tableView->verticalHeader()->setMinimumSectionSize(0);
}

Win2::~Win2()
{
    delete model;
    delete ui;
}

void Win2::miseAJour()
{
    afficherChronometres();
    QTableView *table = ui->tableView;
    if (!model) {
        model = new ModelTableWin2;
        poserModeleTable(table, model);
    }
    if (!epreuveAffichee() || indexSerieCourante < 0)
        return;
    if (!aRedessiner(Empreinte() << indexEpreuveSeries << indexSerieCourante << serieDrapeau
                                 << epreuvesSeries))
        return;

    const SeriePreparee choix =
        seriePreparee(indexEpreuveSeries, indexSerieCourante, serieDrapeau, epreuvesSeries);
    model->beginResetModel();
    lignesPreparation.clear();
    if (choix.groupe)
        remplirPreparation(lignesPreparation, *choix.groupe);
    model->endResetModel();
    if (!choix.trouvee)
        return;
    ui->titre2Label->setText(choix.titre);

    QFont fonte = table->font();
    // A step read from a hand-edited file is used as it is, short of an invalid size.
    fonte.setPointSize(qMax(1, 2 * info().TailleFonte + 11));
    table->setFont(fonte);
    table->resizeColumnsToContents();
    habillerTable(table, Apparence::fondEnTetePreparation);
    repartirLignes();
}

// Ten rows share the height under the header; the last one takes the remainder.
void Win2::repartirLignes()
{
    QTableView *table = ui->tableView;
    const int libre = table->height() - table->horizontalHeader()->height();
    const int h = libre / lignesPreparationMax;
    table->verticalHeader()->setDefaultSectionSize(h);
    table->setRowHeight(lignesPreparationMax - 1, libre - (lignesPreparationMax - 1) * h);
}

void Win2::showEvent(QShowEvent *event)
{
    FenetreAffichage::showEvent(event);
    miseAJour();
}

void Win2::redimensionnee()
{
    repartirLignes();
}
