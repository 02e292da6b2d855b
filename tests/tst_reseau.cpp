// Reception as the sender sees it: real datagrams on loopback, the announcement after
// each bind, the LED, the refresh time, and the network panel's connect and disconnect.
#include "app/feuille.h"
#include "app/options.h"
#include "core/donnees.h"
#include "core/journal.h"
#include "core/parametres.h"
#include "http.h"
#include "network/reseau.h"
#include "windows/fenetreaffichage.h"

#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUdpSocket>
#include <QtTest>

namespace
{
const QByteArray annonce = "ADRESSE_IP_VELLORSCUP_DISPLAY";
// The body of a GET on the station's web port.
QByteArray obtenir(quint16 port, const QByteArray &chemin)
{
    return demander(port, "GET " + chemin + " HTTP/1.0\r\n\r\n").corps;
}

QByteArray coupe(const QString &titre)
{
    return "<COUPE>;" + titre.toUtf8() + ";4;120;1;Durand;Léa;</COUPE>";
}
} // namespace

class TstReseau : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void datagrammes_data();
    void datagrammes();
    void ledApresChaqueDatagramme();
    void dureeMaximale_data();
    void dureeMaximale();
    void annonceApresBind();
    void portRefuse_data();
    void portRefuse();
    void bindImpossible();
    void deconnexionPuisNouveauPort();
    void tableAdresses();
    void rafraichitFenetresVisibles();
    void sourcesEtEnregistrement_data();
    void sourcesEtEnregistrement();
    void fluxMuet();
    void enregistrementImpossible();
    void sourceIllisibleDansLesReglages();
    void pageResultatsPubliee_data();
    void pageResultatsPubliee();
    void pageResultatsImpossible_data();
    void pageResultatsImpossible();

private:
    Feuille *nouvelleFeuille(const QString &port);

    QScopedPointer<QTemporaryDir> dossier;
    QList<Feuille *> feuilles;
};

void TstReseau::init()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    reinitialiserDonnees();
    dossier.reset(new QTemporaryDir);
    parametres = Parametres();
    parametres.repertoireDonnees = dossier->path();
}

void TstReseau::cleanup()
{
    qDeleteAll(feuilles);
    feuilles.clear();
}

Feuille *TstReseau::nouvelleFeuille(const QString &port)
{
    QSettings(cheminFichierParametres(), QSettings::IniFormat)
        .setValue("Connexion/ReseauUdpPort", port);
    feuilles << new Feuille;
    return feuilles.last();
}

void TstReseau::datagrammes_data()
{
    QTest::addColumn<QList<QByteArray>>("envois");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<int>("lignes");
    QTest::addColumn<int>("rafraichissements");
    const QByteArray epreuve = "<EPREUVE>;a;b;c;d;e;f;DURAND;Léa;12;99;1;1;2;3;4;5;6;</EPREUVE>";
    // Sent before the station reads: both are pending at once, both are decoded (each sets
    // its own part of the store), and the windows are redrawn once.
    QTest::newRow("deux ensemble, chacun décodé, un seul dessin")
        << QList<QByteArray>{coupe("A"), epreuve} << "A" << 1 << 1;
    QTest::newRow("deux ensemble, dans l'ordre")
        << QList<QByteArray>{coupe("A"), coupe("B")} << "B" << 0 << 1;
    QTest::newRow("une seule") << QList<QByteArray>{coupe("A")} << "A" << 0 << 1;
    QTest::newRow("vide") << QList<QByteArray>{QByteArray()} << "" << 0 << 1;
    QTest::newRow("annonce renvoyée") << QList<QByteArray>{annonce} << "" << 0 << 1;
    QTest::newRow("trame puis annonce")
        << QList<QByteArray>{coupe("Coupe"), annonce} << "Coupe" << 0 << 1;
}

void TstReseau::datagrammes()
{
    QFETCH(QList<QByteArray>, envois);
    QFETCH(QString, titre);
    QFETCH(int, lignes);
    QFETCH(int, rafraichissements);
    Reseau reseau;
    reseau.connexionReseauUdp();
    QVERIFY(socketUdp->bind(7720));
    QSignalSpy dessins(&reseau, &Reseau::reseauUpdateAffichageSignal);
    QSignalSpy durees(&reseau, &Reseau::dureeMaxAffichageSignal);

    QUdpSocket emetteur;
    for (const QByteArray &d : envois)
        emetteur.writeDatagram(d, QHostAddress::LocalHost, 7720);
    QTRY_COMPARE(dessins.count(), rafraichissements);
    QTest::qWait(50); // nothing more comes
    QCOMPARE(dessins.count(), rafraichissements);
    QCOMPARE(titreCoupe, titre);
    QCOMPARE(lignesEpreuve.size(), lignes);
    QCOMPARE(durees.count(), rafraichissements);
}

void TstReseau::ledApresChaqueDatagramme()
{
    nouvelleFeuille("7721");
    auto *led = feuilles.last()->findChild<QToolButton *>("mainFeuilleReseauLedVerteToolButton");
    QVERIFY(led->isHidden()); // off until the first datagram: a silent feed looks silent
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);

    for (int i = 0; i < 2; ++i) {
        led->hide();
        QUdpSocket().writeDatagram(coupe("x"), QHostAddress::LocalHost, 7721);
        QVERIFY(socketUdp->waitForReadyRead(5000)); // reads and decodes within the call
        QVERIFY(!led->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(led->isHidden(), 2000);
    }
}

void TstReseau::dureeMaximale_data()
{
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("texte");
    QTest::newRow("six chiffres") << 12.3456789 << "12.3457 ms";
    QTest::newRow("court") << 250.5 << "250.5 ms";
    QTest::newRow("exposant") << 1234567.0 << "1.23457e+06 ms";
}

void TstReseau::dureeMaximale()
{
    QFETCH(double, maximum);
    QFETCH(QString, texte);
    nouvelleFeuille("7722");
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    auto *etiquette = feuilles.last()->findChild<QLabel *>("mainFeuilleInfoLabel");
    auto envoyer = [](const QByteArray &d) {
        QUdpSocket().writeDatagram(d, QHostAddress::LocalHost, 7722);
        QVERIFY(socketUdp->waitForReadyRead(5000));
    };
    dureeMaxAffichage = maximum;
    envoyer("sans balise");
    QCOMPARE(etiquette->text(), texte); // the maximum since start, not the last

    dureeMaxAffichage = 0.0;
    envoyer(QByteArray());
    QVERIFY(dureeMaxAffichage > 0.0);
    QCOMPARE(etiquette->text(), QString::number(dureeMaxAffichage, 'g', 6) + QStringLiteral(" ms"));
}

void TstReseau::annonceApresBind()
{
    Feuille *feuille = nouvelleFeuille("7730");
    // The announcement loops back to the station's own socket: read it there first.
    disconnect(socketUdp, &QUdpSocket::readyRead, nullptr, nullptr);
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    QTRY_VERIFY_WITH_TIMEOUT(socketUdp->hasPendingDatagrams(), 5000);
    const QNetworkDatagram d = socketUdp->receiveDatagram();
    QCOMPARE(d.data(), annonce);
    QCOMPARE(d.senderPort(), 7730);
    QCOMPARE(d.destinationPort(), 7730);
    QCOMPARE(QHostAddress(d.destinationAddress().toIPv4Address()),
             QHostAddress(QHostAddress::Broadcast));
    auto *bouton = feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton");
    QVERIFY(bouton->isChecked());
    QCOMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    QCOMPARE(socketUdp->localPort(), quint16(7730));
}

void TstReseau::portRefuse_data()
{
    QTest::addColumn<QString>("port");
    QTest::newRow("vide") << "";
    QTest::newRow("zéro") << "0";
    QTest::newRow("trop grand") << "65536";
    QTest::newRow("négatif") << "-7700";
    QTest::newRow("lettres") << "port";
    QTest::newRow("suffixe") << "7700a";
}

void TstReseau::portRefuse()
{
    QFETCH(QString, port);
    Feuille *feuille = nouvelleFeuille(port);
    auto *bouton = feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton");
    QTRY_VERIFY(feuille->findChild<QTableView *>()->model()); // the automatic click ran
    QVERIFY(!bouton->isChecked());
    QVERIFY(!socketUdp || socketUdp->state() == QAbstractSocket::UnconnectedState);
}

void TstReseau::bindImpossible()
{
    QUdpSocket occupant;
    QVERIFY(occupant.bind(QHostAddress::AnyIPv4, 7740, QAbstractSocket::DontShareAddress));
    Feuille *feuille = nouvelleFeuille("7740");
    auto *bouton = feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton");
    QTRY_VERIFY(feuille->findChild<QTableView *>()->model());
    QVERIFY(!bouton->isChecked());
    QCOMPARE(socketUdp->state(), QAbstractSocket::UnconnectedState);
    QTest::qWait(50);
    QVERIFY(!occupant.hasPendingDatagrams());
}

void TstReseau::deconnexionPuisNouveauPort()
{
    Feuille *feuille = nouvelleFeuille("7750");
    auto *bouton = feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton");
    QTRY_VERIFY(bouton->isChecked());
    QTRY_COMPARE(socketUdp->localPort(), quint16(7750));

    // A new port while bound: still receiving on the old one.
    feuille->findChild<QLineEdit *>("mainFeuilleReseauPortLineEdit")->setText("7751");
    QCOMPARE(parametres.portUdp, QStringLiteral("7751"));
    QCOMPARE(socketUdp->localPort(), quint16(7750));
    QUdpSocket().writeDatagram(coupe("ancien"), QHostAddress::LocalHost, 7750);
    QTRY_COMPARE(titreCoupe, QStringLiteral("ancien"));

    bouton->click(); // disconnect: the port is given back
    QVERIFY(!bouton->isChecked());
    QCOMPARE(socketUdp->state(), QAbstractSocket::UnconnectedState);
    QUdpSocket libre;
    QVERIFY(libre.bind(QHostAddress::AnyIPv4, 7750, QAbstractSocket::DontShareAddress));
    libre.close();

    disconnect(socketUdp, &QUdpSocket::readyRead, nullptr, nullptr);
    bouton->click(); // connect again, on the new port
    QVERIFY(bouton->isChecked());
    QCOMPARE(socketUdp->localPort(), quint16(7751));
    QTRY_VERIFY(socketUdp->hasPendingDatagrams());
    const QNetworkDatagram d = socketUdp->receiveDatagram();
    QCOMPARE(d.data(), annonce);
    QCOMPARE(d.destinationPort(), 7751);
}

void TstReseau::tableAdresses()
{
    Feuille *feuille = nouvelleFeuille("7760");
    auto *vue = feuille->findChild<QTableView *>("mainFeuilleReseauAdressesIpTableView");
    QTRY_VERIFY(vue->model());
    QPointer<QAbstractItemModel> premier = vue->model();
    auto *modele = qobject_cast<QStandardItemModel *>(vue->model());
    QVERIFY(modele);
    // Only loopback here: it is not listed, and the table keeps its six empty rows.
    QCOMPARE(modele->rowCount(), 6);
    QCOMPARE(modele->columnCount(), 2);
    QCOMPARE(modele->horizontalHeaderItem(0)->text(), QStringLiteral("Adresse IP"));
    QCOMPARE(modele->horizontalHeaderItem(1)->text(), QStringLiteral("Réseau"));
    QVERIFY(!modele->item(0, 0));
    QCOMPARE(vue->currentIndex().row(), 0);
    QCOMPARE(vue->styleSheet(),
             QStringLiteral("QTableView {selection-background-color: #00bb00} "));

    feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton")->click();
    QVERIFY(vue->model() != premier.data());
    QVERIFY(premier.isNull()); // the previous model is released
}

void TstReseau::rafraichitFenetresVisibles()
{
    Feuille *feuille = nouvelleFeuille("7770");
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    feuille->boutonFenetre(1)->click();
    QVERIFY(feuille->fenetre(1)->isVisible());

    QUdpSocket().writeDatagram("<SERIES>;1;0;1;01:02;07:58;</SERIES>", QHostAddress::LocalHost,
                               7770);
    QTRY_COMPARE(tempsEcoule, QStringLiteral("01:02"));
    auto chrono = [&](int n) {
        return feuille->fenetre(n)->findChild<QLabel *>("tempsEcouleLabel")->text();
    };
    QCOMPARE(chrono(1), QStringLiteral("01:02"));
    QCOMPARE(chrono(5), QStringLiteral("00:00")); // hidden: not refreshed
}

namespace
{
void envoyerDepuis(const char *adresse, const QByteArray &datagramme, quint16 port)
{
    QUdpSocket emetteur;
    QVERIFY(emetteur.bind(QHostAddress(QString::fromLatin1(adresse)), 0));
    QVERIFY(emetteur.writeDatagram(datagramme, QHostAddress::LocalHost, port) >= 0);
}
} // namespace

// Only the contest's own sender is heard when asked; what is heard is recorded as it
// came, and the operator sees both counts.
void TstReseau::sourcesEtEnregistrement_data()
{
    QTest::addColumn<QString>("sources");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<QList<QByteArray>>("enregistres");
    QTest::addColumn<QString>("comptes");
    QTest::newRow("tout le monde")
        << ""
        << "B" << QList<QByteArray>{coupe("A"), coupe("B")} << "Reçues : 2, ignorées : 0";
    QTest::newRow("le seul émetteur du concours")
        << "127.0.0.2"
        << "B" << QList<QByteArray>{coupe("B")} << "Reçues : 2, ignorées : 1";
    QTest::newRow("deux émetteurs")
        << "127.0.0.2, 127.0.0.1"
        << "B" << QList<QByteArray>{coupe("A"), coupe("B")} << "Reçues : 2, ignorées : 0";
    QTest::newRow("un autre") << "127.0.0.1"
                              << "A" << QList<QByteArray>{coupe("A")} << "Reçues : 2, ignorées : 1";
}

void TstReseau::sourcesEtEnregistrement()
{
    QFETCH(QString, sources);
    QFETCH(QString, titre);
    QFETCH(QList<QByteArray>, enregistres);
    QFETCH(QString, comptes);
    Feuille *feuille = nouvelleFeuille("7780");
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    OptionsStation options;
    QStringList invalides;
    options.sources = adressesDepuis({sources}, &invalides);
    options.sourcesDonnees = !options.sources.isEmpty();
    options.enregistrement = dossier->filePath("jour.txt");
    feuille->appliquerOptions(options);

    envoyerDepuis("127.0.0.1", coupe("A"), 7780);
    envoyerDepuis("127.0.0.2", coupe("B\n\\"), 7780); // a line break and a backslash
    enregistres.replace(enregistres.size() - 1,
                        enregistres.constLast() == coupe("B") ? coupe("B\n\\") : coupe("A"));
    auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
    QTRY_VERIFY2(etat->text().endsWith(comptes), qPrintable(etat->text()));
    QCOMPARE(titreCoupe.left(1), titre);

    QFile fichier(options.enregistrement);
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    QCOMPARE(lireJournal(fichier.readAll()), enregistres);
}

void TstReseau::fluxMuet()
{
    QSettings(cheminFichierParametres(), QSettings::IniFormat)
        .setValue("Connexion/SilenceAlerte", 1);
    Feuille *feuille = nouvelleFeuille("7781");
    auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
    QCOMPARE(etat->text(), QStringLiteral("Aucune trame reçue\nReçues : 0, ignorées : 0"));
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    const QColor normal = etat->palette().color(QPalette::WindowText);

    envoyerDepuis("127.0.0.1", coupe("A"), 7781);
    QTRY_VERIFY(etat->text().startsWith("Dernière trame il y a 0 s (127.0.0.1)"));
    // The label ticks once a second: on a busy machine it may skip a second.
    QTRY_VERIFY_WITH_TIMEOUT(etat->text().startsWith("Flux muet depuis "), 5000);
    QVERIFY(etat->palette().color(QPalette::WindowText) != normal);

    envoyerDepuis("127.0.0.1", coupe("A"), 7781); // the feed is back
    QTRY_VERIFY(etat->text().startsWith("Dernière trame"));
    QCOMPARE(etat->palette().color(QPalette::WindowText), normal);
}

// A file that cannot be written: said in red, and the station keeps showing the contest.
void TstReseau::enregistrementImpossible()
{
    Feuille *feuille = nouvelleFeuille("7782");
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    OptionsStation options;
    options.enregistrement = dossier->filePath("absent/jour.txt");
    feuille->appliquerOptions(options);
    auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
    QVERIFY2(etat->text().contains("Enregistrement impossible"), qPrintable(etat->text()));

    envoyerDepuis("127.0.0.1", coupe("Suite"), 7782);
    QTRY_COMPARE(titreCoupe, QStringLiteral("Suite"));
}

// A mistyped address in the settings file is skipped; the others still filter.
void TstReseau::sourceIllisibleDansLesReglages()
{
    QSettings(cheminFichierParametres(), QSettings::IniFormat)
        .setValue("Connexion/Sources", "pas-une-adresse,127.0.0.2");
    Feuille *feuille = nouvelleFeuille("7783");
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    envoyerDepuis("127.0.0.1", coupe("Intrus"), 7783);
    envoyerDepuis("127.0.0.2", coupe("Concours"), 7783);
    auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
    QTRY_VERIFY2(etat->text().endsWith("Reçues : 2, ignorées : 1"), qPrintable(etat->text()));
    QCOMPARE(titreCoupe, QStringLiteral("Concours"));
}

QTEST_MAIN(TstReseau)
// The page's addresses in the control window and in the windows' menu; after each refresh
// the page serves what the windows show.
void TstReseau::pageResultatsPubliee_data()
{
    QTest::addColumn<QString>("ecoute");
    QTest::newRow("toutes les interfaces") << QString();
    QTest::newRow("toutes, nommées 0.0.0.0") << "0.0.0.0";
    QTest::newRow("la boucle locale") << "127.0.0.1";
}

void TstReseau::pageResultatsPubliee()
{
    QFETCH(QString, ecoute);
    Feuille *feuille = nouvelleFeuille("7784");
    parametres.webAdresse = ecoute; // as if read from the file
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    OptionsStation options;
    options.webPort = 7785;
    feuille->appliquerOptions(options);
    auto *adresses = feuille->findChild<QLabel *>("webAdressesLabel");
    // Only loopback in the tests' namespace.
    QCOMPARE(adresses->text(), QStringLiteral("Résultats en direct :\nhttp://127.0.0.1:7785/"));
    QCOMPARE(FenetreAffichage::adresseResultats(), QStringLiteral("http://127.0.0.1:7785/"));

    envoyerDepuis("127.0.0.1", coupe("En <direct>"), 7784);
    QTRY_VERIFY(obtenir(7785, "/etat.json").contains("\"titreCoupe\":\"En \\u003cdirect\\u003e\""));
    QVERIFY(obtenir(7785, "/").contains("<html"));
    delete feuilles.takeLast();
    FenetreAffichage::definirAdresseResultats(QString());
}

void TstReseau::pageResultatsImpossible_data()
{
    QTest::addColumn<QString>("adresse");
    QTest::addColumn<QString>("raison");
    QTest::newRow("port pris") << QString() << "7786";
    QTest::newRow("adresse illisible") << "pas-une-adresse"
                                       << "pas-une-adresse";
}

// A page that cannot be served is said in red; the station carries on without it.
void TstReseau::pageResultatsImpossible()
{
    QFETCH(QString, adresse);
    QFETCH(QString, raison);
    QTcpServer occupant;
    QVERIFY(occupant.listen(QHostAddress::Any, 7786));
    Feuille *feuille = nouvelleFeuille("7787");
    parametres.webAdresse = adresse; // as read from the file
    QTRY_COMPARE(socketUdp->state(), QAbstractSocket::BoundState);
    OptionsStation options;
    options.webPort = 7786;
    feuille->appliquerOptions(options);
    auto *etiquette = feuille->findChild<QLabel *>("webAdressesLabel");
    QVERIFY2(etiquette->text().startsWith("Page des résultats impossible : ") &&
                 etiquette->text().contains(raison),
             qPrintable(etiquette->text()));
    QCOMPARE(etiquette->palette().color(QPalette::WindowText), QColor(255, 128, 128));
    QVERIFY(FenetreAffichage::adresseResultats().isEmpty());

    envoyerDepuis("127.0.0.1", coupe("Toujours là"), 7787);
    QTRY_COMPARE(titreCoupe, QStringLiteral("Toujours là"));
}

#include "tst_reseau.moc"
