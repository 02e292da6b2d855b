#include "app/parametres.h"
#include "network/donnees.h"
#include "windows/modeltablewin3.h"
#include "windows/win3.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TstWin3 final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void blocs_data();
    void blocs();
    void egalites_data();
    void egalites();
    void modele_data();
    void modele();
    void entetes();
    void police_data();
    void police();
    void largeurs_data();
    void largeurs();
    void epreuveIgnoree_data();
    void epreuveIgnoree();

private:
    QTableView *table() const { return fenetre->findChild<QTableView *>("tableView"); }
    QString titre() const { return fenetre->findChild<QLabel *>("titre2Label")->text(); }
    void fixerLigneMax(int n);

    QScopedPointer<Win3> fenetre;
};

namespace
{

// `nombre` pilots over groups of eight, in the reverse of their rank: pilot n (rank n) has
// number n and 1000 - n points.
void remplirEpreuve(int epreuve, int nombre)
{
    auto &groupes = epreuvesSeries[epreuve].groupes;
    for (int n = nombre; n >= 1; --n) {
        if (groupes.isEmpty() || groupes.last().pilotes.size() == 8)
            groupes.append(GroupeSerie());
        PiloteSerie p;
        p.numero = n;
        p.points = 1000 - n;
        p.nom1 = QStringLiteral("NOM%1").arg(n);
        groupes.last().pilotes.append(p);
    }
}

} // namespace

// Under the users' locale these names would sort otherwise; the order must not follow it.
void TstWin3::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TstWin3::init()
{
    reinitialiserDonnees();
    parametres.fenetresInfo[2] = FenetreInfo();
    fenetre.reset(new Win3);
    fenetre->resize(1280, 720);
    fenetre->show();
}

// Gives the table the height where n + 1 rows fit under the header, through a resize.
void TstWin3::fixerLigneMax(int n)
{
    const int ligne = table()->verticalHeader()->defaultSectionSize();
    table()->setFixedHeight(table()->horizontalHeader()->height() + (n + 1) * ligne + ligne / 2);
    fenetre->resize(fenetre->width() + 1, fenetre->height());
    QCOMPARE(ligneMaxWin3, n);
}

// Ranks shown by each block, as "first-last".
void TstWin3::blocs_data()
{
    QTest::addColumn<int>("pilotes");
    QTest::addColumn<QStringList>("rangs");

    QTest::newRow("25 pilotes") << 25 << QStringList{"1-10", "11-20", "21-25", ""};
    QTest::newRow("40 pilotes") << 40 << QStringList{"1-10", "11-20", "21-30", "31-40"};
    QTest::newRow("45 pilotes") << 45 << QStringList{"1-10", "11-20", "21-30", "31-40"};
    QTest::newRow("3 pilotes") << 3 << QStringList{"1-3", "", "", ""};
    QTest::newRow("aucun pilote") << 0 << QStringList{"", "", "", ""};
}

void TstWin3::blocs()
{
    QFETCH(int, pilotes);
    QFETCH(QStringList, rangs);

    remplirEpreuve(1, pilotes);
    indexEpreuveSeries = 1;
    fenetre->miseAJour();
    fixerLigneMax(9);

    const QAbstractItemModel *modele = table()->model();
    QCOMPARE(modele->rowCount(), pilotes);
    QCOMPARE(table()->verticalHeader()->count(), pilotes);
    for (int k = 0; k < 4; ++k) {
        QStringList vus;
        for (int r = 0; r < pilotes; ++r) {
            const QModelIndex position = modele->index(r, 4 * k);
            QCOMPARE(position.data(Qt::BackgroundRole), QVariant(QColor(0, 48, 48)));
            const QString rang = position.data().toString();
            if (!rang.isEmpty())
                vus << rang;
            QCOMPARE(modele->index(r, 4 * k + 1).data().toString(), rang);
        }
        QCOMPARE(vus.isEmpty() ? QString() : vus.first() + "-" + vus.last(), rangs.at(k));
        QVERIFY(vus.isEmpty() || vus.size() == vus.last().toInt() - vus.first().toInt() + 1);
    }
}

void TstWin3::egalites_data()
{
    QTest::addColumn<QStringList>("pilotes"); // nom1:points, in group order
    QTest::addColumn<QStringList>("classement");

    QTest::newRow("points d'abord")
        << QStringList{"ADAM:80", "ZOLA:120", "MARC:100"} << QStringList{"ZOLA", "MARC", "ADAM"};
    QTest::newRow("égalité par nom")
        << QStringList{"ROUX:120", "BRUN:120", "ADAM:90"} << QStringList{"BRUN", "ROUX", "ADAM"};
    QTest::newRow("Z majuscule avant a minuscule")
        << QStringList{"alain:120", "Zorro:120"} << QStringList{"Zorro", "alain"};
    QTest::newRow("accent après les lettres simples")
        << QStringList{"ÉLIE:50", "ZOLA:50", "EVE:50"} << QStringList{"EVE", "ZOLA", "ÉLIE"};
}

void TstWin3::egalites()
{
    QFETCH(QStringList, pilotes);
    QFETCH(QStringList, classement);

    epreuvesSeries[4].groupes.resize(2);
    for (int i = 0; i < pilotes.size(); ++i) {
        PiloteSerie p;
        p.nom1 = pilotes.at(i).section(':', 0, 0);
        p.nom2 = QStringLiteral("Jo");
        p.points = pilotes.at(i).section(':', 1).toInt();
        epreuvesSeries[4].groupes[i % 2].pilotes.append(p);
    }
    indexEpreuveSeries = 4;
    fenetre->miseAJour();

    const QAbstractItemModel *modele = table()->model();
    for (int r = 0; r < classement.size(); ++r) {
        QCOMPARE(modele->index(r, 0).data(), QVariant(r + 1));
        QCOMPARE(modele->index(r, 2).data().toString(), classement.at(r) + " Jo");
    }
}

// Three pilots in blocks of two rows: ranks 1-2, then 3.
void TstWin3::modele_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<int>("colonne");
    QTest::addColumn<QVariant>("texte");
    QTest::addColumn<QVariant>("fond");
    QTest::addColumn<QVariant>("couleur");
    QTest::addColumn<QVariant>("alignement");

    const QVariant rien, centre(132), sarcelle(QColor(0, 48, 48));
    const QVariant cyan(QColor(128, 255, 255)), creme(QColor(255, 240, 192));
    QTest::newRow("position") << 1 << 0 << QVariant(2) << sarcelle << cyan << centre;
    QTest::newRow("numéro") << 1 << 1 << QVariant(12) << rien << creme << centre;
    QTest::newRow("pilote") << 1 << 2 << QVariant("BRÛLÉ Hélène") << rien << rien << rien;
    QTest::newRow("points") << 1 << 3 << QVariant("95") << rien << rien << centre;
    QTest::newRow("bloc 1") << 0 << 4 << QVariant(3) << sarcelle << cyan << centre;
    QTest::newRow("bloc 1 épuisé") << 1 << 6 << rien << rien << rien << rien;
    QTest::newRow("sous la dernière ligne") << 2 << 12 << rien << sarcelle << cyan << centre;
    QTest::newRow("hors liste") << 3 << 0 << rien << rien << rien << rien;
}

void TstWin3::modele()
{
    QFETCH(int, ligne);
    QFETCH(int, colonne);
    QFETCH(QVariant, texte);
    QFETCH(QVariant, fond);
    QFETCH(QVariant, couleur);
    QFETCH(QVariant, alignement);

    lignesClassement = {
        {"ADAM", "Léa", 10, 120}, {"BRÛLÉ", "Hélène", 12, 95}, {"CRAY", "Luc", 3, 7}};
    ligneMaxWin3 = 1;
    ModelTableWin3 modele;
    const QModelIndex i = modele.index(ligne, colonne);
    const QVariant vus[] = {i.data(), i.data(Qt::BackgroundRole), i.data(Qt::ForegroundRole),
                            i.data(Qt::TextAlignmentRole), i.data(Qt::FontRole)};
    const QVariant attendus[] = {texte, fond, couleur, alignement, QVariant()};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(vus[r].userType(), attendus[r].userType());
        QCOMPARE(vus[r], attendus[r]);
    }
}

void TstWin3::entetes()
{
    lignesClassement.resize(3);
    ModelTableWin3 modele;
    QCOMPARE(modele.rowCount(), 3);
    QCOMPARE(modele.columnCount(), 16);
    QStringList textes;
    for (int s = 0; s < 17; ++s)
        textes << modele.headerData(s, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(textes.join(QLatin1Char('|')), QString("Pos.|Vellor n°|Pilote|Points|").repeated(4));
    QVERIFY(!modele.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
    QVERIFY(!modele.headerData(0, Qt::Horizontal, Qt::ForegroundRole).isValid());
}

// A larger font makes taller rows, so fewer fit; the header keeps 11 point bold.
void TstWin3::police_data()
{
    QTest::addColumn<int>("tailleFonte");
    QTest::newRow("-2") << -2;
    QTest::newRow("0") << 0;
    QTest::newRow("8") << 8;
    QTest::newRow("16") << 16;
}

void TstWin3::police()
{
    QFETCH(int, tailleFonte);

    remplirEpreuve(2, 60);
    indexEpreuveSeries = 2;
    fenetre->miseAJour();
    const int avant = ligneMaxWin3;
    parametres.fenetresInfo[2].TailleFonte = tailleFonte;
    fenetre->miseAJour();

    const QFont fonte = table()->font();
    QCOMPARE(fonte.pointSize(), tailleFonte + 8);
    QCOMPARE(table()->horizontalHeader()->font().pointSize(), 11);
    QVERIFY(table()->horizontalHeader()->font().bold());
    const int ligne = table()->rowHeight(0);
    QCOMPARE(ligne, qMax(24, int(1.25 * QFontMetrics(fonte).height())));
    const int libre = table()->height() - table()->horizontalHeader()->height();
    QVERIFY((ligneMaxWin3 + 1) * ligne <= libre && libre < (ligneMaxWin3 + 2) * ligne);
    QVERIFY(tailleFonte > 0 ? ligneMaxWin3 < avant : ligneMaxWin3 >= avant);
}

// Each block takes a quarter of the table, unless "Pilote" would be narrower than its title.
void TstWin3::largeurs_data()
{
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("tailleFonte");
    QTest::addColumn<bool>("auQuart");

    QTest::newRow("1920") << 1920 << 0 << true;
    QTest::newRow("1280") << 1280 << 4 << true;
    QTest::newRow("800, grande police") << 800 << 16 << false;
}

void TstWin3::largeurs()
{
    QFETCH(int, largeur);
    QFETCH(int, tailleFonte);
    QFETCH(bool, auQuart);

    remplirEpreuve(0, 70);
    epreuvesSeries[0].groupes[2].pilotes[3].nom1 = QStringLiteral("DE LA FONTAINE-MONTGOLFIER");
    indexEpreuveSeries = 0;
    parametres.fenetresInfo[2].TailleFonte = tailleFonte;
    fenetre->resize(largeur, 720);
    fenetre->miseAJour();

    const int minimum = QFontMetrics(table()->font()).horizontalAdvance("Pilote");
    for (int k = 0; k < 4; ++k) {
        int bloc = 0;
        for (int c = 4 * k; c < 4 * k + 4; ++c)
            bloc += table()->columnWidth(c);
        if (auQuart)
            QCOMPARE(bloc, table()->width() / 4);
        else
            QCOMPARE(table()->columnWidth(4 * k + 2), minimum);
    }
}

void TstWin3::epreuveIgnoree_data()
{
    QTest::addColumn<int>("epreuve");
    QTest::addColumn<QString>("titreAttendu");
    QTest::addColumn<int>("lignes");

    QTest::newRow("négative") << -1 << "Epreuve" << 1;
    QTest::newRow("5") << 5 << "Epreuve" << 1;
    QTest::newRow("épreuve sans série") << 3 << "Chasse au renard" << 0;
}

void TstWin3::epreuveIgnoree()
{
    QFETCH(int, epreuve);
    QFETCH(QString, titreAttendu);
    QFETCH(int, lignes);

    lignesClassement = {{"ADAM", "Léa", 10, 120}};
    indexEpreuveSeries = epreuve;
    QSignalSpy reinitialisations(table()->model(), &QAbstractItemModel::modelReset);
    fenetre->miseAJour();
    QCOMPARE(titre(), titreAttendu);
    QCOMPARE(table()->model()->rowCount(), lignes);
    // The view is told whenever the rows are rebuilt.
    QCOMPARE(reinitialisations.count(), lignes == 0 ? 1 : 0);
}

QTEST_MAIN(TstWin3)
#include "tst_win3.moc"
