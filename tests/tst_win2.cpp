#include "app/parametres.h"
#include "network/donnees.h"
#include "windows/win2.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TstWin2 final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void choixSerie_data();
    void choixSerie();
    void tri_data();
    void tri();
    void modele_data();
    void modele();
    void entetes();
    void lignes_data();
    void lignes();

private:
    QTableView *table() const { return fenetre->findChild<QTableView *>("tableView"); }
    QString cellule(int ligne, int colonne, int role = Qt::DisplayRole) const
    {
        return table()->model()->index(ligne, colonne).data(role).toString();
    }

    QScopedPointer<Win2> fenetre;
};

namespace
{

// A pilot named "nom1 nom2".
PiloteSerie pilote(int numero, const QString &nom)
{
    PiloteSerie p;
    p.numero = numero;
    p.nom1 = nom.section(' ', 0, 0);
    p.nom2 = nom.section(' ', 1);
    p.club = QStringLiteral("Aéroclub de Vellor");
    return p;
}

// Every slot holds `groupes` series of three pilots already in name order, numbered
// 100 x slot + 10 x group + rank in the group.
void remplirSlots(int groupes)
{
    for (int e = 0; e < nombreEpreuves; ++e) {
        for (int g = 0; g < groupes; ++g) {
            GroupeSerie groupe;
            for (int i = 1; i <= 3; ++i)
                groupe.pilotes.append(pilote(100 * e + 10 * g + i, QStringLiteral("NOM%1").arg(i)));
            epreuvesSeries[e].groupes.append(groupe);
        }
    }
}

} // namespace

// Under the users' locale these names would sort otherwise; the order must not follow it.
void TstWin2::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TstWin2::init()
{
    reinitialiserDonnees();
    parametres.fenetresInfo[1] = FenetreInfo();
    fenetre.reset(new Win2);
    fenetre->resize(1280, 720);
    fenetre->show();
}

// source: 10 x slot + group whose pilots show; -1 none; -2 the list is not even touched.
void TstWin2::choixSerie_data()
{
    QTest::addColumn<int>("groupes");
    QTest::addColumn<int>("epreuve");
    QTest::addColumn<int>("serie");
    QTest::addColumn<bool>("drapeau");
    QTest::addColumn<bool>("resultats");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<int>("source");

    const QString inchange = QStringLiteral("Série n° 1");
    QTest::newRow("épreuve 0") << 4 << 0 << 3 << true << false << "Cassé de baguettes - Série n° 1"
                               << 0;
    QTest::newRow("épreuve 0, résultats connus")
        << 4 << 0 << 0 << false << true << "Cassé de baguettes - Série n° 1" << 0;
    QTest::newRow("série en attente")
        << 4 << 2 << 2 << false << false << "Pylône racing - Série n° 3" << 22;
    QTest::newRow("série en vol") << 4 << 2 << 2 << true << false << "Pylône racing - Série n° 4"
                                  << 23;
    QTest::newRow("dernière série en vol")
        << 4 << 2 << 3 << true << false << "Chasse au renard - Série n° 1" << -1;
    QTest::newRow("dernière série en attente")
        << 4 << 4 << 3 << false << false << "Limbo - Série n° 4" << 43;
    QTest::newRow("fin du concours") << 4 << 4 << 3 << true << false << "..." << -1;
    QTest::newRow("résultats connus") << 4 << 1 << 1 << true << true << inchange << -1;
    QTest::newRow("série absente") << 4 << 1 << 4 << false << false << inchange << -1;
    QTest::newRow("épreuve 0 sans série") << 0 << 0 << 0 << false << false << inchange << -1;
    QTest::newRow("épreuve négative") << 4 << -1 << 0 << false << false << inchange << -2;
    QTest::newRow("épreuve 5") << 4 << 5 << 0 << false << false << inchange << -2;
    QTest::newRow("série négative") << 4 << 2 << -1 << false << false << inchange << -2;
}

void TstWin2::choixSerie()
{
    QFETCH(int, groupes);
    QFETCH(int, epreuve);
    QFETCH(int, serie);
    QFETCH(bool, drapeau);
    QFETCH(bool, resultats);
    QFETCH(QString, titre);
    QFETCH(int, source);

    remplirSlots(groupes);
    if (resultats)
        epreuvesSeries[epreuve].groupes[serie].avecResultats = true;
    indexEpreuveSeries = epreuve;
    indexSerieCourante = serie;
    serieDrapeau = drapeau;
    lignesPreparation = {LignePreparation{999, {}, {}, {}}};
    QSignalSpy reinitialisations(table()->model(), &QAbstractItemModel::modelReset);
    fenetre->miseAJour();

    QCOMPARE(fenetre->findChild<QLabel *>("titre2Label")->text(), titre);
    QStringList numeros;
    for (int i = 1; i <= 3 && source >= 0; ++i)
        numeros << QString::number(10 * source + i);
    if (source == -2)
        numeros << "999";
    QStringList vus;
    for (int r = 0; r < lignesPreparation.size(); ++r)
        vus << cellule(r, 1);
    QCOMPARE(vus, numeros);
    QCOMPARE(reinitialisations.count(), source == -2 ? 0 : 1);
    QCOMPARE(cellule(0, 1), source == -1 ? QString() : numeros.value(0));
}

void TstWin2::tri_data()
{
    QTest::addColumn<QStringList>("noms");
    QTest::addColumn<QStringList>("pilotes");

    QTest::newRow("douze pilotes, les dix premiers")
        << QStringList{"LUC Jo", "KIM Jo", "JAN Jo", "IVE Jo", "HUGO Jo", "GIL Jo",
                       "FAY Jo", "EVE Jo", "DOM Jo", "CID Jo", "BOB Jo",  "ANA Jo"}
        << QStringList{"  Jo CID  ",  "  Jo DOM  ", "  Jo EVE  ", "  Jo FAY  ", "  Jo GIL  ",
                       "  Jo HUGO  ", "  Jo IVE  ", "  Jo JAN  ", "  Jo KIM  ", "  Jo LUC  "};
    QTest::newRow("même nom, par prénom")
        << QStringList{"ROUX Zoé", "ROUX Anne", "MOREL Paul"}
        << QStringList{"  Paul MOREL  ", "  Anne ROUX  ", "  Zoé ROUX  "};
    QTest::newRow("majuscule avant minuscule")
        << QStringList{"martin Léa", "Martin Léo", "alain Jo", "Zorro Don"}
        << QStringList{"  Léo Martin  ", "  Don Zorro  ", "  Jo alain  ", "  Léa martin  "};
    QTest::newRow("accent après les lettres simples")
        << QStringList{"ÉLIE Max", "ZOLA Émile", "EVE Ada"}
        << QStringList{"  Ada EVE  ", "  Émile ZOLA  ", "  Max ÉLIE  "};
}

void TstWin2::tri()
{
    QFETCH(QStringList, noms);
    QFETCH(QStringList, pilotes);

    epreuvesSeries[3].groupes.resize(1);
    for (int i = 0; i < noms.size(); ++i)
        epreuvesSeries[3].groupes[0].pilotes.append(pilote(i + 1, noms.at(i)));
    indexEpreuveSeries = 3;
    indexSerieCourante = 0;
    fenetre->miseAJour();

    QStringList vus;
    for (int r = 0; r < 10; ++r)
        vus << cellule(r, 2);
    while (pilotes.size() < 10)
        pilotes << QString();
    QCOMPARE(vus, pilotes);
}

void TstWin2::modele_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<int>("colonne");
    QTest::addColumn<QVariant>("texte");
    QTest::addColumn<QVariant>("couleur");
    QTest::addColumn<QVariant>("alignement");

    const QVariant rien, centre(132);
    QTest::newRow("position") << 1 << 0 << QVariant(2) << QVariant(QColor(128, 255, 255)) << centre;
    QTest::newRow("numéro") << 1 << 1 << QVariant(7) << QVariant(QColor(255, 240, 128)) << centre;
    QTest::newRow("pilote") << 1 << 2 << QVariant("  Hélène BRÛLÉ  ") << rien << rien;
    QTest::newRow("club") << 0 << 3 << QVariant("  Aéroclub de Vellor") << rien << rien;
    QTest::newRow("ligne vide") << 2 << 0 << rien << rien << rien;
    QTest::newRow("dernière ligne") << 9 << 1 << rien << rien << rien;
}

void TstWin2::modele()
{
    QFETCH(int, ligne);
    QFETCH(int, colonne);
    QFETCH(QVariant, texte);
    QFETCH(QVariant, couleur);
    QFETCH(QVariant, alignement);

    epreuvesSeries[2].groupes.resize(1);
    epreuvesSeries[2].groupes[0].pilotes = {pilote(9, "ADAM Luc"), pilote(7, "BRÛLÉ Hélène")};
    indexEpreuveSeries = 2;
    indexSerieCourante = 0;
    fenetre->miseAJour();

    const QModelIndex i = table()->model()->index(ligne, colonne);
    const QVariant vus[] = {i.data(), i.data(Qt::ForegroundRole), i.data(Qt::TextAlignmentRole),
                            i.data(Qt::BackgroundRole), i.data(Qt::FontRole)};
    const QVariant attendus[] = {texte, couleur, alignement, QVariant(), QVariant()};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(vus[r].userType(), attendus[r].userType());
        QCOMPARE(vus[r], attendus[r]);
    }
}

void TstWin2::entetes()
{
    const QAbstractItemModel *modele = table()->model();
    QCOMPARE(modele->rowCount(), 10);
    QCOMPARE(modele->columnCount(), 4);
    QStringList textes;
    for (int s = 0; s < 5; ++s)
        textes << modele->headerData(s, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(textes, QStringList({"Position", "Vellor n°", "Pilote", "Club", ""}));
    QVERIFY(!modele->headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
    QVERIFY(!modele->headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
}

// The ten rows fill the table under its header, the last one taking the remainder, after a
// refresh as after a resize; the header keeps its own font.
void TstWin2::lignes_data()
{
    QTest::addColumn<int>("tailleFonte");
    QTest::addColumn<int>("hauteurTable");
    QTest::addColumn<int>("hauteur");
    QTest::addColumn<int>("derniere");

    QTest::newRow("405 pixels") << 0 << 405 << 37 << 42;
    QTest::newRow("division exacte") << 0 << 400 << 37 << 37;
    QTest::newRow("petite police") << -2 << 305 << 27 << 32;
    QTest::newRow("police plus haute qu'une ligne") << 16 << 405 << 37 << 42;
}

void TstWin2::lignes()
{
    QFETCH(int, tailleFonte);
    QFETCH(int, hauteurTable);
    QFETCH(int, hauteur);
    QFETCH(int, derniere);

    remplirSlots(2);
    indexEpreuveSeries = 1;
    indexSerieCourante = 0;
    parametres.fenetresInfo[1].TailleFonte = tailleFonte;
    table()->horizontalHeader()->setFixedHeight(30);
    for (bool parRedimensionnement : {false, true}) {
        table()->setFixedHeight(200);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        fenetre->miseAJour();
        table()->setFixedHeight(hauteurTable);
        if (parRedimensionnement) {
            fenetre->resize(fenetre->width() + 10, fenetre->height());
        } else {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            fenetre->miseAJour();
        }
        QCOMPARE(table()->height(), hauteurTable);
        QCOMPARE(table()->horizontalHeader()->height(), 30);
        for (int r = 0; r < 9; ++r)
            QCOMPARE(table()->rowHeight(r), hauteur);
        QCOMPARE(table()->rowHeight(9), derniere);
    }
    QCOMPARE(table()->font().pointSize(), 2 * tailleFonte + 11);
    QCOMPARE(table()->horizontalHeader()->font().pointSize(), 11);
    QVERIFY(table()->horizontalHeader()->font().bold());
}

QTEST_MAIN(TstWin2)
#include "tst_win2.moc"
