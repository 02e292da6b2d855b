#include "network/donnees.h"
#include "network/trame.h"

#include <QtTest>

// Each row sends datagrams in turn and compares the store, written in one line:
// E[scoreboard rows] S[series scalars] slot{results:pilots}... #slot count C[title|rows].
// Parts still at their start-up value are left out.
class TstTrame final : public QObject
{
    Q_OBJECT

private slots:
    void init() { reinitialiserDonnees(); }
    void blocs_data();
    void blocs() { verifier(); }
    void epreuve_data();
    void epreuve() { verifier(); }
    void coupe_data();
    void coupe() { verifier(); }
    void series_data();
    void series() { verifier(); }
    void limites_data();
    void limites() { verifier(); }

private:
    static void colonnes();
    static void verifier();
    static QString resume();
};

namespace
{

QByteArray blocEpreuve(const QByteArray &c)
{
    return "<EPREUVE>;" + c + "</EPREUVE>";
}
QByteArray blocSeries(const QByteArray &c)
{
    return "<SERIES>;" + c + "</SERIES>";
}
QByteArray blocCoupe(const QByteArray &c)
{
    return "<COUPE>;" + c + "</COUPE>";
}

const QByteArray tete = "0;1;2;3;4;5;"; // the six scoreboard fields nobody reads
const QByteArray rangA = "Ana;Bo;7;50;1;10;11;12;13;14;15";
const QByteArray rangB = "Cy;Do;8;40;0;20;21;22;23;24;25";
const QString ligneA = "Ana,Bo,7,50,1,10,11,12,13,14,15";
const QString ligneB = "Cy,Do,8,40,0,20,21,22,23,24,25";
const QByteArray p17 = "17;Jean;Dupont;Vellor;120;1";
const QByteArray p23 = "23;Hélène;Brûlé;Pylône club;95;0";
const QString pilote17 = "17,Jean,Dupont,Vellor,120,1";
const QString pilote23 = "23,Hélène,Brûlé,Pylône club,95,0";
const QByteArray c1 = "1;300;1;Jean;Dupont";
const QByteArray c2 = "2;250;2 ex aequo;Anne;Roy";

const QByteArray E1 = blocEpreuve(tete + rangA + ";");
const QByteArray C1 = blocCoupe("Coupe;" + c1 + ";");
const QByteArray S0 = blocSeries("0;1;0;01:00;02:00;<a>;0;0;" + p17 + ";</a>;");
const QByteArray S2 = blocSeries("2;0;1;01:00;02:00;<1>;2;1;" + p17 + ";</1>;");
const QString coupe1 = "C[Coupe|1,300,1,Jean,Dupont]";
const QString serie2 = "S[2,0,1,01:00,02:00] 2{1:" + pilote17 + "}";
const QString s00 = "S[0,0,0,a,b]";

void ligne(const char *nom, const QByteArrayList &trames, const QString &attendu, int erreurs = 0,
           int creneaux = nombreEpreuves)
{
    QTest::newRow(nom) << trames << attendu << erreurs << creneaux;
}

} // namespace

void TstTrame::colonnes()
{
    QTest::addColumn<QByteArrayList>("trames");
    QTest::addColumn<QString>("attendu");
    QTest::addColumn<int>("erreurs");  // "erreur" lines expected on the debug output
    QTest::addColumn<int>("creneaux"); // series slots before the first datagram
}

void TstTrame::verifier()
{
    QFETCH(QByteArrayList, trames);
    QFETCH(QString, attendu);
    QFETCH(int, erreurs);
    QFETCH(int, creneaux);
    epreuvesSeries.resize(creneaux);
    for (int k = 0; k < erreurs; ++k)
        QTest::ignoreMessage(QtDebugMsg, "erreur");
    for (const QByteArray &trame : trames)
        decoderTrame(trame);
    QCOMPARE(resume(), attendu);
}

QString TstTrame::resume()
{
    QStringList parties;
    QStringList lignes;
    for (const LigneEpreuve &l : qAsConst(lignesEpreuve))
        lignes << QStringList{l.nom1,          l.nom2,       l.numero,    l.total,
                              l.drapeauNumero, l.touchAndGo, l.baguettes, l.pylones,
                              l.banderoles,    l.limbo,      l.looping}
                      .join(',');
    if (!lignes.isEmpty())
        parties << "E[" + lignes.join('/') + ']';
    if (indexEpreuveSeries != -1 || indexSerieCourante != -1 || serieDrapeau ||
        !tempsEcoule.isEmpty() || !tempsRestant.isEmpty())
        parties << "S[" +
                       QStringList{QString::number(indexEpreuveSeries),
                                   QString::number(indexSerieCourante),
                                   QString::number(serieDrapeau), tempsEcoule, tempsRestant}
                           .join(',') +
                       ']';
    for (int k = 0; k < epreuvesSeries.size(); ++k) {
        QString creneau = QString::number(k);
        for (const GroupeSerie &g : qAsConst(epreuvesSeries[k].groupes)) {
            QStringList pilotes;
            for (const PiloteSerie &p : g.pilotes)
                pilotes << QStringList{QString::number(p.numero),
                                       p.nom1,
                                       p.nom2,
                                       p.club,
                                       QString::number(p.points),
                                       QString::number(p.reussi)}
                               .join(',');
            creneau += '{' + QString::number(g.avecResultats) + ':' + pilotes.join(';') + '}';
        }
        if (!epreuvesSeries[k].groupes.isEmpty())
            parties << creneau;
    }
    if (epreuvesSeries.size() != nombreEpreuves)
        parties << '#' + QString::number(epreuvesSeries.size());
    QStringList cup{titreCoupe};
    for (const LigneCoupe &l : qAsConst(classementCoupe))
        cup << QStringList{QString::number(l.numero), QString::number(l.points), l.rang, l.nom1,
                           l.nom2}
                   .join(',');
    if (cup.size() > 1 || !titreCoupe.isEmpty())
        parties << "C[" + cup.join('|') + ']';
    return parties.join(' ');
}

void TstTrame::blocs_data()
{
    colonnes();
    const QString tout = "E[" + ligneA + "] " + serie2 + ' ' + coupe1;
    ligne("trois blocs", {E1 + S2 + C1}, tout);
    ligne("autre ordre", {C1 + "texte;" + E1 + S2}, tout);
    ligne("aucune balise", {"Coupe;1;300;1;Jean;Dupont;"}, "");
    ligne("fermeture absente", {E1, "<EPREUVE>;" + tete + rangB + ";"}, "E[" + ligneA + "]");
    ligne("fermeture avant ouverture", {"</COUPE><COUPE>;Coupe;" + c1 + ";"}, coupe1);
    ligne("ouverture en fin de texte", {C1, "</COUPE><COUPE>"}, "");
    ligne("fermeture collée", {C1, "<COUPE></COUPE>"}, "");
    ligne("balises en minuscules", {C1, "<coupe>;X;</coupe>"}, coupe1);
    ligne("second bloc ignoré", {C1 + blocCoupe("Autre;" + c2 + ";")}, coupe1);
    ligne("octet nul entre blocs", {C1 + '\0' + E1}, coupe1);
    ligne("octet nul dans un bloc", {QByteArray("<COUPE>;Coupe;") + '\0' + c1 + ";</COUPE>"}, "");
    ligne("accents", {blocCoupe("Pylône d'or;3;90;1;Hélène;Brûlé;")},
          "C[Pylône d'or|3,90,1,Hélène,Brûlé]");
}

void TstTrame::epreuve_data()
{
    colonnes();
    ligne("12 champs vident", {E1, blocEpreuve("0;1;2;3;4;5;a;b;c;d;e;f")}, "");
    ligne("bloc vide", {E1, blocEpreuve("")}, "");
    ligne("17 champs", {blocEpreuve(tete + rangA)}, "E[" + ligneA + "]");
    ligne("17 champs et ;", {blocEpreuve(tete + rangA + ";")}, "E[" + ligneA + "]");
    ligne("deux lignes", {blocEpreuve(tete + rangA + ";" + rangB)},
          "E[" + ligneA + '/' + ligneB + "]");
    ligne("remplacées", {E1, blocEpreuve(tete + rangB + ";")}, "E[" + ligneB + "]");
}

void TstTrame::coupe_data()
{
    colonnes();
    ligne("titre seul", {C1, blocCoupe("Titre")}, "C[Titre]");
    ligne("6 champs", {C1, blocCoupe("Titre;" + c1)}, "C[Titre]");
    ligne("une ligne et ;", {blocCoupe("Titre;" + c1 + ";")}, "C[Titre|1,300,1,Jean,Dupont]");
    ligne("deux lignes sans ;", {blocCoupe("T;" + c1 + ";" + c2)}, "C[T|1,300,1,Jean,Dupont]");
    ligne("ex aequo", {blocCoupe("T;" + c1 + ";" + c2 + ";")},
          "C[T|1,300,1,Jean,Dupont|2,250,2 ex aequo,Anne,Roy]");
    ligne("titre vide", {C1, blocCoupe(";" + c1 + ";")}, "C[|1,300,1,Jean,Dupont]");
    ligne("nombres illisibles", {blocCoupe("T;x;12a;1;A;B;")}, "C[T|0,0,1,A,B]");
}

void TstTrame::series_data()
{
    colonnes();
    ligne("exemple", {blocSeries("2;0;1;00:01:30;00:08:30;<1>;2;1;" + p17 + ";" + p23 + ";</1>;")},
          "S[2,0,1,00:01:30,00:08:30] 2{1:" + pilote17 + ';' + pilote23 + '}');
    ligne("4 champs", {S0, blocSeries("3;1;1;05:00")}, "S[0,1,0,01:00,02:00]");
    ligne("5 champs", {S0, blocSeries("3;1;1;05:00;06:00")}, "S[3,1,1,05:00,06:00]");
    ligne("sans groupe vide 0 pas 3",
          {S0, blocSeries("0;0;0;a;b;<x>;3;0;" + p23 + ";</x>;"), blocSeries("0;0;0;a;b;")},
          s00 + " 3{0:" + pilote23 + '}');
    ligne("le dernier groupe choisit",
          {blocSeries("0;0;0;a;b;<1>;1;0;" + p17 + ";</1>;<2>;4;1;" + p23 + ";</2>;")},
          s00 + " 4{0:" + pilote17 + "}{1:" + pilote23 + '}');
    ligne("même balise deux fois",
          {blocSeries("0;0;0;a;b;<g>;2;0;" + p17 + ";</g>;<g>;2;1;" + p23 + ";</g>")},
          s00 + " 2{0:" + pilote17 + "}{1:" + pilote23 + '}');
    ligne("groupe sans pilote", {blocSeries("0;0;0;a;b;<1>;2;0;</1>")}, s00 + " 2{0:}");
    ligne("champs entre groupes",
          {blocSeries("0;0;0;a;b;x;<1>;2;0;" + p17 + ";</1>;;y;<2>;2;1;" + p23 + ";</2>")},
          s00 + " 2{0:" + pilote17 + "}{1:" + pilote23 + '}');
    ligne("fermeture de groupe absente",
          {blocSeries("0;0;0;a;b;<1>;2;0;" + p17 + ";</1>;<2>;2;1;" + p23 + ";")},
          s00 + " 2{0:" + pilote17 + '}', 1);
    ligne("premier groupe sans fermeture", {S0, S2, blocSeries("0;0;0;a;b;<1>;2;0;" + p17)},
          s00 + " 2{1:" + pilote17 + '}', 1);
    ligne("</x> entre groupes",
          {blocSeries("0;0;0;a;b;<1>;2;0;" + p17 + ";</1>;</x>;<2>;2;1;" + p23 + ";</2>")},
          s00 + " 2{0:" + pilote17 + '}', 1);
    ligne("chronos coupés", {blocSeries("0;0;0;00:01:02.345;1:00")}, "S[0,0,0,00:01:02,1:00]");
    ligne("nombres illisibles", {blocSeries("deux;x;oui;a;b;<1>;2z;1;n;A;B;C;12pts;1;</1>")},
          "S[0,0,0,a,b] 0{1:0,A,B,C,0,1}");
    ligne("reussi",
          {blocSeries("0;0;0;a;b;<1>;2;1;1;A;B;C;5;0;2;D;E;F;5;abc;3;G;H;I;5;2;4;J;K;L;5;-1;</1>")},
          s00 + " 2{1:1,A,B,C,5,0;2,D,E,F,5,0;3,G,H,I,5,1;4,J,K,L,5,1}");
}

// Blocks that end inside a record, and slots that do not exist.
void TstTrame::limites_data()
{
    colonnes();
    ligne("ligne EPREUVE coupée", {blocEpreuve(tete + rangA + ";Cy;Do;8;40;0;1;2")},
          "E[" + ligneA + "]");
    ligne("seule ligne EPREUVE coupée", {E1, blocEpreuve(tete + "a;b;c;d;e;f;g")}, "");
    ligne("en-tête coupé", {blocSeries("0;0;0;a;b;<1>;2;1;" + p17 + ";</1>;<2>;3") + "</2>"},
          s00 + " 2{1:" + pilote17 + '}');
    ligne("balise en dernier", {blocSeries("0;0;0;a;b;<1>;2;1;" + p17 + ";</1>;<2>") + "</2>"},
          s00 + " 2{1:" + pilote17 + '}');
    ligne("pilote coupé", {blocSeries("0;0;0;a;b;<1>;2;1;" + p17 + ";23;Anne") + "</1>"},
          s00 + " 2{1:" + pilote17 + '}');
    ligne("fermeture hors du bloc", {blocSeries("0;0;0;a;b;<1>;2;1;" + p17) + "</1>"},
          s00 + " 2{1:" + pilote17 + '}');
    ligne("fermeture avant le groupe",
          {blocCoupe("</g>") + blocSeries("0;0;0;a;b;<g>;2;1;" + p17 + ";")},
          s00 + " 2{1:" + pilote17 + "} C[</g>]");
    ligne("créneau 5", {S0, blocSeries("0;0;0;a;b;<1>;5;1;" + p23 + ";</1>")},
          s00 + " 0{0:" + pilote17 + '}');
    ligne("créneau -1", {S0, blocSeries("0;0;0;a;b;<1>;-1;1;" + p23 + ";</1>")},
          s00 + " 0{0:" + pilote17 + '}');
    ligne("créneau 99", {S0, blocSeries("0;0;0;a;b;<1>;99;1;" + p23 + ";</1>")},
          s00 + " 0{0:" + pilote17 + '}');
    ligne("aucun créneau", {S0, blocSeries("1;1;1;a;b")}, "S[1,1,1,a,b] #0", 0, 0);
    ligne("créneau 2 sur 2", {S2}, "S[2,0,1,01:00,02:00] #2", 0, 2);
    ligne("créneau 2 sur 3", {S2}, serie2 + " #3", 0, 3);
}

QTEST_APPLESS_MAIN(TstTrame)

#include "tst_trame.moc"
