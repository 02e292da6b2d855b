// The settings dialog as the organiser drives it, keys and clicks on the real widgets: each
// change takes effect at once on the running station; a value that cannot be used is said
// beside its field and nothing is written; Cancel and the command line's values write nothing.
#include "aidetests.h"
#include "app/dialoguereglages.h"
#include "app/options.h"
#include "colonnes.h"
#include "http.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>

namespace
{
constexpr quint16 portTrames = 7820, ancienPort = 7821, nouveauPort = 7822;

bool servie(quint16 port)
{
    return demander(port, "GET /etat.json HTTP/1.0\r\n\r\n").statut == 200;
}

// A relay that keeps what it is sent.
struct FauxRelais : QTcpServer {
    QByteArray recu;
    explicit FauxRelais(quint16 port)
    {
        listen(QHostAddress::LocalHost, port);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this,
                    [this, client] { recu += client->readAll(); });
        });
    }
};
} // namespace

class TstReglages : public QObject
{
    Q_OBJECT
    Controle controle;
    Feuille *feuille = nullptr;
    QPointer<DialogueReglages> dialogue;

    // The station as started with these options, listening, and its dialog opened by its button.
    void demarrer(const OptionsStation &options = OptionsStation())
    {
        feuille = controle.ouvrir(QString::number(portTrames));
        QVERIFY(ecoute(portTrames));
        feuille->appliquerOptions(options);
        QTest::mouseClick(feuille->findChild<QToolButton *>("mainFeuilleReglagesToolButton"),
                          Qt::LeftButton);
        dialogue = feuille->findChild<DialogueReglages *>("dialogueReglages");
        QVERIFY(dialogue && QTest::qWaitForWindowExposed(dialogue));
    }
    template <class T> T *champ(const char *nom) const { return dialogue->findChild<T *>(nom); }
    void saisir(QWidget *champ, const QString &texte)
    {
        champ->setFocus();
        QTest::keyClick(champ, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(champ, texte);
    }
    void cliquer(QDialogButtonBox::StandardButton bouton)
    {
        QTest::mouseClick(champ<QDialogButtonBox>("boutons")->button(bouton), Qt::LeftButton);
    }
    // A new sender line typed in the list, as the operator does after "Ajouter".
    void ajouterEmetteur(const QString &texte)
    {
        QTest::mouseClick(champ<QPushButton>("ajouterSourcePushButton"), Qt::LeftButton);
        QTRY_VERIFY(QApplication::focusWidget() &&
                    QApplication::focusWidget()->parentWidget() ==
                        champ<QListWidget>("sourcesListWidget")->viewport());
        QTest::keyClicks(QApplication::focusWidget(), texte);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // The item view commits on its next turn of the event loop.
        QTRY_COMPARE(champ<QListWidget>("sourcesListWidget")->currentItem()->text(), texte);
        QVERIFY(dialogue->isVisible());
    }

private slots:
    void init()
    {
        controle.preparer();
        controle.fichier().setValue("Web/Port", ancienPort);
    }

    void page_data()
    {
        const auto ligne = colonnes<QString, bool, int>({"saisie", "pris", "bouton"});
        ligne("nouveau port", "7822", false, QDialogButtonBox::Ok);
        ligne("plus de page", "0", false, QDialogButtonBox::Ok);
        ligne("port pris", "7822", true, QDialogButtonBox::Ok);
        ligne("annulé", "7822", false, QDialogButtonBox::Cancel);
    }

    // The page moves at once; a port found taken keeps the old page, says why and writes
    // nothing; Cancel leaves the file byte for byte and the page where it was.
    void page()
    {
        QFETCH(QString, saisie);
        QFETCH(bool, pris);
        QFETCH(int, bouton);
        QTcpServer occupant;
        QVERIFY(!pris || occupant.listen(QHostAddress::Any, nouveauPort));
        demarrer();
        QVERIFY(servie(ancienPort));
        QTRY_VERIFY(!controle.sauvegardePrevue());
        const QByteArray avant = contenuFichier(cheminFichierParametres());
        saisir(champ<QSpinBox>("portWebSpinBox"), saisie);
        cliquer(QDialogButtonBox::StandardButton(bouton));
        const bool garde = pris || bouton == QDialogButtonBox::Cancel;
        const bool nouvelle = saisie.toInt() == nouveauPort && !garde;
        QCOMPARE(servie(ancienPort), garde);
        QCOMPARE(servie(nouveauPort), nouvelle);
        QTRY_COMPARE(bool(dialogue), pris);
        QVERIFY(!pris || champ<QLabel>("portWebErreurLabel")->isVisible());
        QTRY_VERIFY(!controle.sauvegardePrevue());
        if (garde)
            QCOMPARE(contenuFichier(cheminFichierParametres()), avant);
        else
            QCOMPARE(controle.fichier().value("Web/Port").toString(), saisie);
        QCOMPARE(FenetreAffichage::adresseResultats(),
                 garde || nouvelle
                     ? QString("http://127.0.0.1:%1/").arg(garde ? ancienPort : nouveauPort)
                     : QString());
    }

    // A recording that cannot open is said beside its field and nothing is written; one that
    // can takes the next datagram.
    void enregistrement()
    {
        demarrer();
        QTRY_VERIFY(!controle.sauvegardePrevue());
        const QByteArray avant = contenuFichier(cheminFichierParametres());
        saisir(champ<QLineEdit>("enregistrementLineEdit"), controle.dossier->filePath("x/j.txt"));
        cliquer(QDialogButtonBox::Ok);
        QVERIFY(dialogue && champ<QLabel>("enregistrementErreurLabel")->isVisible());
        QTRY_VERIFY(!controle.sauvegardePrevue());
        QCOMPARE(contenuFichier(cheminFichierParametres()), avant);
        const QString journal = controle.dossier->filePath("jour.txt");
        saisir(champ<QLineEdit>("enregistrementLineEdit"), journal);
        cliquer(QDialogButtonBox::Ok);
        QTRY_VERIFY(!dialogue);
        envoyerUdp("<COUPE>;Enregistrée;</COUPE>", portTrames);
        QTRY_VERIFY_WITH_TIMEOUT(contenuFichier(journal).contains("Enregistrée"), attente);
        QTRY_COMPARE(controle.fichier().value("Connexion/Enregistrement").toString(), journal);
    }

    // What --web and --relais set is shown as such, used for the run and never written.
    void ligneDeCommande()
    {
        const QString relais = "http://127.0.0.1:7823/pub";
        OptionsStation options;
        QCOMPARE(lireOptions({"station", "--web", QString::number(nouveauPort), "--relais", relais},
                             options),
                 -1);
        demarrer(options);
        QVERIFY(!champ<QSpinBox>("portWebSpinBox")->isEnabled());
        QVERIFY(champ<QLabel>("portWebImposeLabel")->isVisible());
        QCOMPARE(champ<QLineEdit>("relaisLineEdit")->text(), relais);
        QVERIFY(!champ<QLineEdit>("relaisLineEdit")->isEnabled());
        saisir(champ<QSpinBox>("silenceSpinBox"), "3");
        cliquer(QDialogButtonBox::Ok);
        QTRY_COMPARE(controle.fichier().value("Connexion/SilenceAlerte").toInt(), 3);
        QCOMPARE(controle.fichier().value("Web/Port").toInt(), int(ancienPort));
        QCOMPARE(controle.fichier().value("Web/Relais").toString(), QString());
        QVERIFY(servie(nouveauPort));
        QVERIFY(!servie(ancienPort));
    }

    void relais_data()
    {
        const auto ligne = colonnes<QString, bool>({"adresse", "acceptee"});
        ligne("nouveau relais", "http://127.0.0.1:7825/pub", true);
        ligne("jeton seul", "http://127.0.0.1:7824/pub", true);
        ligne("pas http", "ftp://127.0.0.1:7825/pub", false);
    }

    // A new relay, or a new token alone, gets the state at once with that token; an address
    // it cannot be is refused.
    void relais()
    {
        QFETCH(QString, adresse);
        QFETCH(bool, acceptee);
        FauxRelais ancien(7824), nouveau(7825);
        controle.fichier().setValue("Web/Relais", "http://127.0.0.1:7824/pub");
        demarrer();
        QTRY_VERIFY_WITH_TIMEOUT(ancien.recu.startsWith("POST /pub"), attente);
        saisir(champ<QLineEdit>("relaisLineEdit"), adresse);
        saisir(champ<QLineEdit>("jetonLineEdit"), "secret");
        cliquer(QDialogButtonBox::Apply);
        QCOMPARE(champ<QLabel>("relaisErreurLabel")->isVisible(), !acceptee);
        if (acceptee) {
            const FauxRelais &publie = adresse.contains(":7825/") ? nouveau : ancien;
            const auto avecJeton = [&publie] {
                const int i = publie.recu.indexOf("Authorization: Bearer secret");
                return i >= 0 && publie.recu.indexOf("\"titreCoupe\"", i) > 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(avecJeton(), attente);
        }
        QTRY_VERIFY(!controle.sauvegardePrevue());
        QCOMPARE(controle.fichier().value("Web/Relais").toString(),
                 acceptee ? adresse : "http://127.0.0.1:7824/pub");
        QCOMPARE(controle.fichier().value("Web/RelaisJeton").toString(),
                 acceptee ? "secret" : "");
    }

    void emetteurs_data()
    {
        // fichier: Connexion/Sources before; ajout: typed, null: the current sender, empty:
        // none; entendue: the next datagram from 127.0.0.1.
        const auto ligne =
            colonnes<QString, QString, bool, QString>({"fichier", "ajout", "entendue", "erreur"});
        ligne("l'émetteur actuel", "", QString(), true, "");
        ligne("un autre", "", "127.0.0.9", false, "");
        ligne("pas une adresse", "", "abc", true, "Pas une adresse IP : abc");
        // No valid address in the file: no sender, until the operator mends the list.
        ligne("fichier illisible", "pas-une-adresse", "", false,
              "Pas une adresse IP : pas-une-adresse");
    }

    // A sender added in the dialog filters the very next datagram; a line that is not an
    // address is said and nothing changes.
    void emetteurs()
    {
        QFETCH(QString, fichier);
        QFETCH(QString, ajout);
        QFETCH(QString, erreur);
        controle.fichier().setValue("Connexion/Sources", fichier);
        demarrer();
        if (fichier.isEmpty()) {
            envoyerUdp("<COUPE>;Première;</COUPE>", portTrames);
            QTRY_COMPARE_WITH_TIMEOUT(titreCoupe, QStringLiteral("Première"), attente);
        }
        auto *raison = champ<QLabel>("sourcesErreurLabel");
        QCOMPARE(raison->isVisible(), !fichier.isEmpty());
        QVERIFY(raison->text().contains(fichier));
        if (ajout.isNull())
            QTest::mouseClick(champ<QPushButton>("ajouterEmetteurPushButton"), Qt::LeftButton);
        else if (!ajout.isEmpty())
            ajouterEmetteur(ajout);
        cliquer(QDialogButtonBox::Ok);
        QCOMPARE(raison->isVisible() ? raison->text() : QString(), erreur);
        QCOMPARE(dialogue->isVisible(), !erreur.isEmpty());
        envoyerUdp("<COUPE>;Suivante;</COUPE>", portTrames);
        auto *etat = feuille->findChild<QLabel *>("etatFluxLabel");
        const QString recues = QString("Reçues : %1,").arg(fichier.isEmpty() ? 2 : 1);
        QTRY_VERIFY_WITH_TIMEOUT((feuille->etatFluxSlot(), etat->text().contains(recues)), attente);
        QTEST(titreCoupe == QStringLiteral("Suivante"), "entendue");
    }
};

QTEST_MAIN(TstReglages)
#include "tst_reglages.moc"
