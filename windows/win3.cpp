#include "windows/win3.h"
#include "ui_win3.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "core/selection.h"
#include "windows/apparence.h"
#include "windows/modeltablewin3.h"
#include "windows/tableau.h"

#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>

#include <array>

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
    const int largeurMin = mesures.horizontalAdvance(QStringLiteral("Pilote"));
    const auto autres = [table](int k) {
        return table->columnWidth(4 * k) + table->columnWidth(4 * k + 1) +
               table->columnWidth(4 * k + 3);
    };
    const auto pilote = [&](int k) {
        return qMax(int(table->width() * 0.25 - autres(k)), largeurMin);
    };
    // Only the rows down to ligneMaxWin3 hold text: the others cannot widen a column.
    mesurerLignes();
    table->horizontalHeader()->setResizeContentsPrecision(qMax(ligneMaxWin3 + 1, 0));

    // A run of ranks fills its block alike whatever the count of blocks tried: each run is
    // measured once, its widths set again for the other tries and for the page shown.
    QHash<int, std::array<int, 3>> largeursConnues;
    const auto ajuster = [&](int k) {
        const int colonnes[3] = {4 * k, 4 * k + 1, 4 * k + 3};
        const int rang = model->premierRang(k);
        const auto connues = largeursConnues.constFind(rang);
        if (connues != largeursConnues.constEnd()) {
            for (int i = 0; i < 3; ++i)
                table->setColumnWidth(colonnes[i], connues->at(i));
            return;
        }
        std::array<int, 3> mesurees;
        for (int i = 0; i < 3; ++i) {
            table->resizeColumnToContents(colonnes[i]);
            mesurees[i] = table->columnWidth(colonnes[i]);
        }
        largeursConnues.insert(rang, mesurees);
    };

    // As many blocks show as fit across on every page, so that every page holds as many ranks.
    const auto tiennent = [&](int nombre) {
        model->montrerBlocs(nombre);
        for (int p = 0; p < model->nombrePages(); ++p) {
            model->montrerPage(p);
            int droite = 0;
            for (int k = 0; k < nombre; ++k) {
                ajuster(k);
                droite += autres(k) + pilote(k);
            }
            if (droite > table->width())
                return false;
        }
        return true;
    };
    const int courante = pageCourante();
    int vus = blocs;
    while (vus > 1 && !tiennent(vus))
        --vus;
    model->montrerBlocs(vus);
    model->montrerPage(courante);
    // The columns fit the page that will show, also when it just turned.
    compterLignes();

    for (int k = 0; k < blocs; ++k) {
        if (k < vus) {
            ajuster(k);
        } else {
            for (int c : {4 * k, 4 * k + 1, 4 * k + 3})
                table->resizeColumnToContents(c);
        }
        table->setColumnWidth(4 * k + 2, pilote(k));
    }
    // A block alone wider than the view loses the end of its names rather than its points.
    table->setColumnWidth(2, qMin(pilote(0), qMax(0, table->viewport()->width() - autres(0))));

    habillerTable(table, Apparence::fondEnTeteClassement);
}

// The last row that the blocks fill: as many rows as fit under the header, and above the
// results page's corner when it shows.
void Win3::mesurerLignes()
{
    const QTableView *table = ui->tableView;
    const int hauteurLigne = table->verticalHeader()->defaultSectionSize();
    if (hauteurLigne > 0)
        ligneMaxWin3 = (hauteurLibre() - table->horizontalHeader()->height()) / hauteurLigne - 1;
}

// The ranks that the blocks shown cannot hold go to the next pages.
void Win3::compterLignes()
{
    mesurerLignes();
    if (model)
        model->montrerPage(choisirPage(model->nombrePages()));
}

void Win3::showEvent(QShowEvent *event)
{
    FenetreAffichage::showEvent(event);
    miseAJour();
}
