// Reception as the sender sees it: real datagrams on loopback, the announcement after
// each bind, the light, the refresh time, the network panel, the feed's health and
// recording, and the results page.
#include "aidetests.h"

#include "app/options.h"
#include "colonnes.h"
#include "core/journal.h"
#include "http.h"

#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTcpServer>
#include <QToolButton>

namespace
{
QByteArray coupe(const QString &titre)
{
    return "<COUPE>;" + titre.toUtf8() + ";4;120;1;Durand;Léa;</COUPE>";
}
using Trames = QList<QByteArray>;
// From two senders; the second with a line break and a backslash, recorded as they came.
const QByteArray deA = coupe("A"), deB = coupe("B\n\\");

// Wine sends from 127.0.0.1 what a socket bound to 127.0.0.2 sends: there the two senders
// are one.
bool deuxEmetteurs()
{
    QUdpSocket recepteur;
    if (!recepteur.bind(QHostAddress(QHostAddress::LocalHost)))
        return false;
    envoyerUdp("?", recepteur.localPort(), "127.0.0.2");
    return recepteur.waitForReadyRead(attente) &&
           recepteur.receiveDatagram().senderAddress() == QHostAddress("127.0.0.2");
}

// The next datagram on the station's socket, once the test has made the station deaf to it.
QNetworkDatagram prochainDatagramme()
{
    return QTest::qWaitFor([] { return socketUdp->hasPendingDatagrams(); }, attente)
               ? socketUdp->receiveDatagram()
               : QNetworkDatagram();
}

// The announcement, broadcast from the bound port to the same port.
bool annonceSur(quint16 port)
{
    const QNetworkDatagram d = prochainDatagramme();
    return d.data() == annonceStation && d.senderPort() == port && d.destinationPort() == port &&
           QHostAddress(d.destinationAddress().toIPv4Address()) == QHostAddress::Broadcast;
}

// Said in red, where the normal texts are white.
bool enRouge(const QLabel *etiquette)
{
    const QColor c = etiquette->palette().color(QPalette::WindowText);
    return c.red() > c.green() + 64 && c.red() > c.blue() + 64;
}
} // namespace

class TstReseau : public QObject
{
    Q_OBJECT

    Controle controle;

private slots:
    void init() { controle.preparer(); }

    void datagrammes_data()
    {
        const auto ligne = colonnes<Trames, QString, int>({"envois", "titre", "lignes"});
        const QByteArray epreuve =
            "<EPREUVE>;a;b;c;d;e;f;DURAND;Léa;12;99;1;1;2;3;4;5;6;</EPREUVE>";
        ligne("ensemble, chacun décodé, dans l'ordre", {deA, epreuve, coupe("B")}, "B", 1);
        ligne("vide, annonce renvoyée", {QByteArray(), annonceStation}, "", 0);
        ligne("trame puis annonce", {coupe("Coupe"), annonceStation}, "Coupe", 0);
    }

    // Sent before the station reads: all are pending at once, each is decoded (each sets its
    // own items of the store), and the windows are redrawn once.
    void datagrammes()
    {
        QFETCH(Trames, envois);
        Reseau reseau;
        reseau.connexionReseauUdp();
        QVERIFY(socketUdp->bind(7720));
        QSignalSpy dessins(&reseau, &Reseau::reseauUpdateAffichageSignal);
        QSignalSpy durees(&reseau, &Reseau::dureeMaxAffichageSignal);
        for (const QByteArray &d : envois)
            envoyerUdp(d, 7720);
        QTRY_COMPARE_WITH_TIMEOUT(dessins.count(), 1, attente);
        QTEST(titreCoupe, "titre");
        QTEST(int(lignesEpreuve.size()), "lignes");

        envoyerUdp(coupe("fin"), 7720); // the end marker: it alone may add a drawing
        QTRY_COMPARE_WITH_TIMEOUT(titreCoupe, QStringLiteral("fin"), attente);
        QCOMPARE(dessins.count(), 2);
        QCOMPARE(durees.count(), 2);
    }

    // After each datagram the light comes on, then goes off by itself; the label gives the
    // longest refresh since start, not the last; the windows shown are refreshed. The feed's
    // status turns red once it is silent for longer than the setting, normal again after.
    void apresChaqueDatagramme()
    {
        controle.fichier().setValue("Connexion/SilenceAlerte", 1);
        Feuille *feuille = controle.ouvrir("7721");
        auto *voyant = feuille->findChild<QToolButton *>("mainFeuilleReseauLedVerteToolButton");
        auto *etiquette = feuille->findChild<QLabel *>("mainFeuilleInfoLabel");
        auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
        QVERIFY(voyant->isHidden()); // off until the first datagram: a silent feed looks silent
        QCOMPARE(etat->text(), QStringLiteral("Aucune trame reçue\nReçues : 0, ignorées : 0"));
        QVERIFY(!enRouge(etat));
        QVERIFY(ecoute(7721));
        feuille->boutonFenetre(1)->click();
        // Maxima far above any real refresh, even on a loaded machine, then a real one.
        const QList<QPair<double, QString>> durees = {
            {12345.678, "12345.7 ms"}, {1234567.0, "1.23457e+06 ms"}, {0.0, QString()}};
        for (const auto &duree : durees) {
            voyant->hide();
            dureeMaxAffichage = duree.first;
            envoyerUdp("<SERIES>;1;0;1;01:02;07:58;</SERIES>", 7721);
            QVERIFY(socketUdp->waitForReadyRead(attente)); // reads and decodes within the call
            QVERIFY(!voyant->isHidden());
            QCOMPARE(etiquette->text(), duree.first > 0
                                            ? duree.second
                                            : QString::number(dureeMaxAffichage, 'g', 6) + " ms");
            feuille->etatFluxSlot();
            QVERIFY2(etat->text().startsWith("Dernière trame il y a ") &&
                         etat->text().contains("(127.0.0.1)") && !enRouge(etat),
                     qPrintable(etat->text()));
            QTRY_VERIFY_WITH_TIMEOUT(voyant->isHidden(), attente);
            QTRY_VERIFY_WITH_TIMEOUT(etat->text().startsWith("Flux muet depuis "), attente);
            QVERIFY(enRouge(etat));
        }
        QVERIFY(dureeMaxAffichage > 0.0);
        auto *chrono = feuille->fenetre(1)->findChild<QLabel *>("tempsEcouleLabel");
        QCOMPARE(chrono->text(), QStringLiteral("01:02"));
        chrono = feuille->fenetre(5)->findChild<QLabel *>("tempsEcouleLabel");
        QCOMPARE(chrono->text(), QStringLiteral("00:00")); // hidden: not refreshed
    }

    // The announcement after the first bind and after a reconnection on a new port; a port
    // typed while bound waits for the next connection. Each click lists the addresses anew.
    void annonceApresChaqueBind()
    {
        Feuille *feuille = controle.ouvrir("7730");
        auto *bouton = feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton");
        disconnect(socketUdp, &QUdpSocket::readyRead, nullptr, nullptr); // the test reads it
        QVERIFY(ecoute(7730));
        QVERIFY(bouton->isChecked());
        auto *vue = feuille->findChild<QTableView *>("mainFeuilleReseauAdressesIpTableView");
        QPointer<QAbstractItemModel> premier = vue->model();
        auto *modele = qobject_cast<QStandardItemModel *>(vue->model());
        // Only loopback here: it is not listed, and the table keeps its six empty rows.
        QCOMPARE(modele->rowCount(), 6);
        QCOMPARE(modele->horizontalHeaderItem(0)->text(), QStringLiteral("Adresse IP"));
        QCOMPARE(modele->horizontalHeaderItem(1)->text(), QStringLiteral("Réseau"));
        QVERIFY(!modele->item(0, 0));
        // The first row is selected, in green.
        const QImage image = vue->viewport()->grab().toImage();
        const QColor vert = image.pixelColor(vue->visualRect(modele->index(0, 0)).center());
        QVERIFY(vert.green() > vert.red() + 64 && vert.green() > vert.blue() + 64);
        QVERIFY(annonceSur(7730));

        feuille->findChild<QLineEdit *>("mainFeuilleReseauPortLineEdit")->setText("7731");
        QCOMPARE(parametres.portUdp, QStringLiteral("7731"));
        envoyerUdp(coupe("ancien"), 7730);
        QCOMPARE(prochainDatagramme().data(), coupe("ancien"));

        bouton->click(); // disconnect: the port is given back
        QVERIFY(!bouton->isChecked());
        QVERIFY(premier.isNull()); // the previous address model is released
        QVERIFY(QUdpSocket().bind(QHostAddress::AnyIPv4, 7730, QAbstractSocket::DontShareAddress));

        bouton->click();
        QVERIFY(bouton->isChecked());
        QCOMPARE(socketUdp->localPort(), quint16(7731));
        QVERIFY(annonceSur(7731));
    }

    void portRefuse_data()
    {
        QTest::addColumn<QString>("port");
        // Empty, zero, too big, negative, with a suffix, already taken.
        for (const char *port : {"", "0", "65536", "-7740", "7740a", "7740"})
            QTest::addRow("«%s»", port) << port;
    }

    // Nothing bound, nothing announced, and the button and the feed's state say so.
    void portRefuse()
    {
        QFETCH(QString, port);
        QUdpSocket occupant;
        QVERIFY(occupant.bind(QHostAddress::AnyIPv4, 7740, QAbstractSocket::DontShareAddress));
        Feuille *feuille = controle.ouvrir(port);
        QTRY_VERIFY_WITH_TIMEOUT(feuille->findChild<QTableView *>()->model(),
                                 attente); // the automatic click ran
        QVERIFY(!feuille->findChild<QToolButton *>("mainFeuilleConnexionToolButton")->isChecked());
        QVERIFY(!socketUdp || socketUdp->state() == QAbstractSocket::UnconnectedState);
        const auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
        QVERIFY2(etat->text().contains("\nÉcoute impossible : ") && enRouge(etat),
                 qPrintable(etat->text()));
        envoyerUdp("repère", 7740); // an announcement would have come before it
        QVERIFY(occupant.waitForReadyRead(attente));
        QCOMPARE(occupant.receiveDatagram().data(), QByteArray("repère"));
    }

    void sourcesEtEnregistrement_data()
    {
        // reglage: Connexion/Sources in the file; option: --source, null when not given.
        const auto ligne = colonnes<Trames, bool, QString, QString>(
            {"entendues", "enregistrable", "reglage", "option"});
        const QString aucune;
        ligne("un seul émetteur", {deB}, true, aucune, "127.0.0.2");
        ligne("deux émetteurs", {deA, deB}, true, aucune, "127.0.0.2, 127.0.0.1");
        ligne("réglage en partie illisible", {deB}, true, "pas-une-adresse,127.0.0.2", aucune);
        ligne("option plutôt que réglage", {deA}, true, "127.0.0.2", "127.0.0.1");
        ligne("enregistrement impossible", {deA, deB}, false, aucune, aucune);
        // Meant to restrict, the list restricts to no one until it is mended.
        ligne("réglage sans adresse valide", {}, true, "pas-une-adresse", aucune);
    }

    // Only the contest's own sender is heard when asked; what is heard is recorded and the
    // operator sees both counts. A file that cannot be written is said in red, and the
    // station carries on.
    void sourcesEtEnregistrement()
    {
        QFETCH(Trames, entendues);
        QFETCH(bool, enregistrable);
        QFETCH(QString, reglage);
        QFETCH(QString, option);
        if (entendues.size() == 1 && !deuxEmetteurs())
            QSKIP("ici les trames de 127.0.0.2 arrivent de 127.0.0.1 (Wine) : les deux "
                  "émetteurs ne se distinguent pas");
        const QString journal =
            controle.dossier->filePath(enregistrable ? "jour.txt" : "absent/jour.txt");
        controle.fichier().setValue("Connexion/Sources", reglage);
        controle.fichier().setValue("Connexion/Enregistrement", journal);
        Feuille *feuille = controle.ouvrir("7780");
        QVERIFY(ecoute(7780));
        OptionsStation options;
        const QStringList source =
            option.isNull() ? QStringList() : QStringList{"--source", option};
        QCOMPARE(lireOptions(QStringList{"station"} + source, options), -1);
        feuille->appliquerOptions(options);

        envoyerUdp(deA, 7780, "127.0.0.1");
        envoyerUdp(deB, 7780, "127.0.0.2");
        const QString comptes =
            QStringLiteral("Reçues : 2, ignorées : %1").arg(2 - entendues.size());
        auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
        QTRY_VERIFY2((feuille->etatFluxSlot(), etat->text().contains(comptes)),
                     qPrintable(etat->text()));
        QCOMPARE(coupe(titreCoupe), entendues.value(entendues.size() - 1, coupe(QString())));
        QCOMPARE(etat->text().contains("\nEnregistrement impossible : "), !enregistrable);
        QCOMPARE(etat->text().contains("Connexion/Sources"), entendues.isEmpty());
        QCOMPARE(enRouge(etat), !enregistrable || entendues.isEmpty());
        QCOMPARE(QFile::exists(journal), enregistrable);
        QCOMPARE(lireJournal(contenuFichier(journal)), enregistrable ? entendues : Trames());
    }

    void pageResultats_data()
    {
        const auto ligne = colonnes<QString, bool, QString>({"ecoute", "portPris", "texte"});
        // Only loopback in the tests' namespace.
        const QString servie = QStringLiteral("^Résultats en direct :\nhttp://127.0.0.1:7785/$");
        const QString refus = QStringLiteral("^Page des résultats impossible : .*");
        ligne("toutes les interfaces", QString(), false, servie);
        ligne("toutes, nommées 0.0.0.0", "0.0.0.0", false, servie);
        ligne("la boucle locale", "127.0.0.1", false, servie);
        ligne("port pris", QString(), true, refus + "7785");
        ligne("adresse illisible", "pas-une-adresse", false, refus + "pas-une-adresse");
    }

    // The page's addresses in the control window and in the windows' menus, and after each
    // refresh the page serves what the windows show. A page that cannot be served is said
    // in red; the station carries on without it.
    void pageResultats()
    {
        QFETCH(QString, ecoute);
        QFETCH(bool, portPris);
        QFETCH(QString, texte);
        QTcpServer occupant;
        QVERIFY(!portPris || occupant.listen(QHostAddress::Any, 7785));
        controle.fichier().setValue("Web/Port", 7785);
        controle.fichier().setValue("Web/Adresse", ecoute);
        Feuille *feuille = controle.ouvrir("7784");
        QVERIFY(::ecoute(7784));
        feuille->appliquerOptions(OptionsStation());
        auto *etiquette = feuille->findChild<QLabel *>("webAdressesLabel");
        QVERIFY2(etiquette->text().contains(QRegularExpression(texte)),
                 qPrintable(etiquette->text()));
        const bool servie = texte.startsWith("^Résultats");
        QCOMPARE(enRouge(etiquette), !servie);
        QCOMPARE(FenetreAffichage::adresseResultats(),
                 servie ? QStringLiteral("http://127.0.0.1:7785/") : QString());

        envoyerUdp(coupe("En <direct>"), 7784);
        QTRY_COMPARE_WITH_TIMEOUT(titreCoupe, QStringLiteral("En <direct>"), attente);
        if (servie) {
            const QByteArray titre = "\"titreCoupe\":\"En \\u003cdirect\\u003e\"";
            QTRY_VERIFY_WITH_TIMEOUT(
                demander(7785, "GET /etat.json HTTP/1.0\r\n\r\n").corps.contains(titre), attente);
        }
    }
};

QTEST_MAIN(TstReseau)
#include "tst_reseau.moc"
