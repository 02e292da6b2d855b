#include "colonnes.h"
#include "core/donnees.h"
#include "core/trame.h"

#include <QtTest>

// Each row sends datagrams in turn and compares the store, written in one line:
// E[scoreboard rows] S[series scalars] slot{results:pilots}... #slot count C[title|rows].
// Parts still at their start-up value are left out.
class TstTrame final : public QObject
{
    Q_OBJECT

private slots:
    void init() { reinitialiserDonnees(); }
    void decodage_data();
    void decodage();
};

namespace
{

QByteArray bloc(const char *balise, const QByteArray &contenu)
{
    return QByteArray("<") + balise + ">;" + contenu + "</" + balise + '>';
}
const auto S = [](const QByteArray &c) { return bloc("SERIES", c); };

const QByteArray tete = "0;1;2;3;4;5;"; // the six scoreboard fields nobody reads
const QByteArray rangA = "Ana;Bo;7;50;1;10;11;12;13;14;15";
const QByteArray rangB = "Cy;Do;8;40;0;20;21;22;23;24;25";
const QString ligneA = "E[Ana,Bo,7,50,1,10,11,12,13,14,15]";
const QByteArray p17 = "17;Jean;Dupont;Vellor;120;1";
const QByteArray p23 = "23;Hélène;Brûlé;Pylône club;95;0";
const QString pilote17 = "17,Jean,Dupont,Vellor,120,1";
const QString pilote23 = "23,Hélène,Brûlé,Pylône club,95,0";
const QByteArray c1 = "1;300;1;Jean;Dupont";
const QString coupe1 = "C[Coupe|1,300,1,Jean,Dupont]";

const QByteArray E1 = bloc("EPREUVE", tete + rangA + ";");
const QByteArray C1 = bloc("COUPE", "Coupe;" + c1 + ";");
const QByteArray S0 = S("0;1;0;01:00;02:00;<a>;0;0;" + p17 + ";</a>;");
const QByteArray S2 = S("2;0;1;01:00;02:00;<1>;2;1;" + p17 + ";</1>;");
const QByteArray s00 = "0;0;0;a;b;";
const QString serie2 = "S[2,0,1,01:00,02:00] 2{1:" + pilote17 + "}";
const QString r00 = "S[0,0,0,a,b] ";

const auto ligne = [](const char *nom, const QByteArrayList &trames, const QString &attendu,
                      int erreurs = 0, int creneaux = nombreEpreuves) {
    QTest::newRow(nom) << trames << attendu << erreurs << creneaux;
};

QString resume()
{
    const auto n = [](int v) { return QString::number(v); };
    const auto liste = [](const QStringList &champs) { return champs.join(','); };
    QStringList parties, lignes;
    for (const LigneEpreuve &l : qAsConst(lignesEpreuve))
        lignes << liste({l.nom1, l.nom2, l.numero, l.total, l.drapeauNumero, l.touchAndGo,
                         l.baguettes, l.pylones, l.banderoles, l.limbo, l.looping});
    const QString serie = liste(
        {n(indexEpreuveSeries), n(indexSerieCourante), n(serieDrapeau), tempsEcoule, tempsRestant});
    parties << "E[" + lignes.join('/') + ']' << "S[" + serie + ']';
    for (int k = 0; k < epreuvesSeries.size(); ++k) {
        QString creneau = n(k);
        for (const GroupeSerie &g : qAsConst(epreuvesSeries[k].groupes)) {
            QStringList pilotes;
            for (const PiloteSerie &p : g.pilotes)
                pilotes << liste({n(p.numero), p.nom1, p.nom2, p.club, n(p.points), n(p.reussi)});
            creneau += '{' + n(g.avecResultats) + ':' + pilotes.join(';') + '}';
        }
        parties << (epreuvesSeries[k].groupes.isEmpty() ? "" : creneau);
    }
    parties << (epreuvesSeries.size() == nombreEpreuves ? "" : '#' + n(epreuvesSeries.size()));
    QStringList coupe{titreCoupe};
    for (const LigneCoupe &l : qAsConst(classementCoupe))
        coupe << liste({n(l.numero), n(l.points), l.rang, l.nom1, l.nom2});
    parties << "C[" + coupe.join('|') + ']';
    for (const char *vide : {"E[]", "S[-1,-1,0,,]", "C[]", ""})
        parties.removeAll(vide);
    return parties.join(' ');
}

} // namespace

void TstTrame::decodage()
{
    QFETCH(QByteArrayList, trames);
    QFETCH(int, erreurs);
    QFETCH(int, creneaux);
    epreuvesSeries.resize(creneaux);
    for (int k = 0; k < erreurs; ++k)
        QTest::ignoreMessage(QtDebugMsg, "erreur");
    for (const QByteArray &trame : trames)
        decoderTrame(trame);
    QTEST(resume(), "attendu");
}

void TstTrame::decodage_data()
{
    // erreurs: "erreur" lines expected on the debug output; creneaux: series slots before the
    // first datagram.
    colonnes<QByteArrayList, QString, int, int>({"trames", "attendu", "erreurs", "creneaux"});
    const QString tout = ligneA + ' ' + serie2 + ' ' + coupe1;
    ligne("trois blocs", {E1 + S2 + C1}, tout);
    ligne("autre ordre", {C1 + "texte;" + E1 + S2}, tout);
    ligne("fermeture absente", {E1, "<EPREUVE>;" + tete + rangB + ";"}, ligneA);
    ligne("fermeture avant ouverture", {"</COUPE><COUPE>;Coupe;" + c1 + ";"}, coupe1);
    ligne("ouverture en fin de texte", {C1, "</COUPE><COUPE>"}, "");
    ligne("octet nul", {C1 + '\0' + E1}, coupe1);

    ligne("EPREUVE de 12 champs", {E1, bloc("EPREUVE", "0;1;2;3;4;5;a;b;c;d;e;f")}, "");
    ligne("EPREUVE de 17 champs", {bloc("EPREUVE", tete + rangA)}, ligneA);
    ligne("EPREUVE de deux lignes et ;", {bloc("EPREUVE", tete + rangA + ";" + rangB + ";")},
          "E[Ana,Bo,7,50,1,10,11,12,13,14,15/Cy,Do,8,40,0,20,21,22,23,24,25]");
    ligne("COUPE d'une ligne sans ;", {C1, bloc("COUPE", "Titre;" + c1)}, "C[Titre]");
    ligne("COUPE de deux lignes", {bloc("COUPE", "T;" + c1 + ";x;12a;2 ex aequo;Anne;Roy;")},
          "C[T|1,300,1,Jean,Dupont|0,0,2 ex aequo,Anne,Roy]");

    ligne("deux pilotes", {S("2;0;1;00:01:30;00:08:30;<1>;2;1;" + p17 + ";" + p23 + ";</1>;")},
          "S[2,0,1,00:01:30,00:08:30] 2{1:" + pilote17 + ';' + pilote23 + '}');
    ligne("4 champs", {S0, S("3;1;1;05:00")}, "S[0,1,0,01:00,02:00]");
    ligne("5 champs, chronos coupés", {S0, S("3;1;1;00:01:02.345;1:00")}, "S[3,1,1,00:01:02,1:00]");
    ligne("sans groupe vide 0 pas 3", {S0, S(s00 + "<x>;3;0;" + p23 + ";</x>;"), S(s00)},
          r00 + "3{0:" + pilote23 + '}');
    // The last group names the slot; fields between groups are skipped.
    ligne("le dernier groupe choisit",
          {S(s00 + "x;<1>;1;0;" + p17 + ";</1>;;y;<3>;2;0;</3>;<2>;4;1;" + p23 + ";</2>;")},
          r00 + "4{0:" + pilote17 + "}{0:}{1:" + pilote23 + '}');
    ligne("fermeture de groupe absente", {S(s00 + "<1>;2;0;" + p17 + ";</1>;<2>;2;1;" + p23 + ";")},
          r00 + "2{0:" + pilote17 + '}', 1);
    ligne("</x> entre groupes", {S(s00 + "<1>;2;0;" + p17 + ";</1>;</x>;<2>;2;1;" + p23 + ";</2>")},
          r00 + "2{0:" + pilote17 + '}', 1);
    ligne(
        "nombres illisibles et reussi",
        {S("deux;x;oui;a;b;<1>;2z;1;n;A;B;C;12pts;1;2;D;E;F;5;abc;3;G;H;I;5;2;4;J;K;L;5;-1;</1>")},
        r00 + "0{1:0,A,B,C,0,1;2,D,E,F,5,0;3,G,H,I,5,1;4,J,K,L,5,1}");

    // Blocks that end inside a record, and slots that do not exist.
    ligne("ligne EPREUVE coupée", {bloc("EPREUVE", tete + rangA + ";Cy;Do;8;40;0;1;2")}, ligneA);
    ligne("en-tête coupé", {S(s00 + "<1>;2;1;" + p17 + ";</1>;<2>;3") + "</2>"},
          r00 + "2{1:" + pilote17 + '}');
    ligne("pilote coupé", {S(s00 + "<1>;2;1;" + p17 + ";23;Anne") + "</1>"},
          r00 + "2{1:" + pilote17 + '}');
    ligne("fermeture avant le groupe, hors du bloc",
          {bloc("COUPE", "</g>") + S(s00 + "<g>;2;1;" + p17 + ";")},
          r00 + "2{1:" + pilote17 + "} C[</g>]");
    ligne("créneau 5", {S0, S(s00 + "<1>;5;1;" + p23 + ";</1>")}, r00 + "0{0:" + pilote17 + '}');
    ligne("créneau -1", {S0, S(s00 + "<1>;-1;1;" + p23 + ";</1>")}, r00 + "0{0:" + pilote17 + '}');
    ligne("aucun créneau", {S0}, "S[0,1,0,01:00,02:00] #0", 0, 0);
}

QTEST_APPLESS_MAIN(TstTrame)

#include "tst_trame.moc"
