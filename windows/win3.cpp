#include "windows/win3.h"
#include "ui_win3.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "core/selection.h"
#include "windows/apparence.h"
#include "windows/modeltablewin3.h"
#include "windows/tableau.h"

#include <QFontMetrics>
#include <QHeaderView>

namespace
{
constexpr int blocs = 4;
} // namespace

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
    QTableView *table = ui->tableView;
    if (!model) {
        model = new ModelTableWin3;
        poserModeleTable(table, model);
    }
    const EpreuveSeries *epreuve = epreuveAffichee();
    if (!epreuve || !aRedessiner(Empreinte() << indexEpreuveSeries << *epreuve))
        return;

    // The columns fit the page that will show, also when it just turned.
    model->montrerPage(pageCourante());
    model->beginResetModel();
    lignesClassement.clear();
    remplirClassement(lignesClassement, *epreuve);
    model->endResetModel();
    ui->titre2Label->setText(listeNomsEpreuves().at(indexEpreuveSeries));

    QFont fonte = table->font();
    fonte.setPointSize(qMax(1, info().TailleFonte + 8));
    table->setFont(fonte);
    const QFontMetrics mesures(fonte);
    table->verticalHeader()->setDefaultSectionSize(int(1.25 * mesures.height()));

    // Each block takes a quarter of the width; its "Pilote" column gives or takes the rest.
    // Only the rows down to ligneMaxWin3 hold text: the others cannot widen a column.
    table->horizontalHeader()->setResizeContentsPrecision(qMax(ligneMaxWin3 + 1, 0));
    table->resizeColumnsToContents();
    const int largeurMin = mesures.horizontalAdvance(QStringLiteral("Pilote"));
    for (int k = 0; k < blocs; ++k) {
        const int autres = table->columnWidth(4 * k) + table->columnWidth(4 * k + 1) +
                           table->columnWidth(4 * k + 3);
        table->setColumnWidth(4 * k + 2, qMax(int(table->width() * 0.25 - autres), largeurMin));
    }

    compterLignes();
    habillerTable(table, Apparence::fondEnTeteClassement);
}

// The last row that the blocks fill: as many rows as fit under the header, and above the
// results page's corner when it shows; the ranks that four blocks cannot hold go to the
// next pages.
void Win3::compterLignes()
{
    const QTableView *table = ui->tableView;
    const int hauteurLigne = table->verticalHeader()->defaultSectionSize();
    if (hauteurLigne > 0)
        ligneMaxWin3 = (hauteurLibre() - table->horizontalHeader()->height()) / hauteurLigne - 1;
    const int parPage = ModelTableWin3::lignesParPage();
    const int taille = int(lignesClassement.size());
    if (model)
        model->montrerPage(choisirPage(parPage > 0 ? (taille + parPage - 1) / parPage : 1));
}

void Win3::showEvent(QShowEvent *event)
{
    FenetreAffichage::showEvent(event);
    miseAJour();
}

void Win3::redimensionnee()
{
    compterLignes();
}
