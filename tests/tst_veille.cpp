// Keeping the screens awake, on a private session bus where the test stands in for the
// desktop's services, with real windows shown and hidden.
#include "app/veilleecran.h"
#include "colonnes.h"
#include "fichiers.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

#ifdef VELLOR_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

namespace
{
const QString ecran = QStringLiteral("org.freedesktop.ScreenSaver");
const QString gnome = QStringLiteral("org.gnome.SessionManager");

// How the stand-in answers.
constexpr int jeton = 0, erreur = 1, silence = 2;

// Calls of the station and its lines about the screens, in the order they came.
QMutex garde;
QStringList journal;
void noter(const QString &echange)
{
    QMutexLocker verrou(&garde);
    journal << echange;
}

// The desktop's services, on their own connection and thread: the station's calls block
// the test's thread until answered. Each call is noted as "interface.member signature
// arguments"; the screen saver's holds are numbered from 7001, GNOME's from 9001.
class BureauEssai final : public QThread
{
public:
    BureauEssai(const QString &adresse, const QStringList &services, int reponse)
        : adresse(adresse), services(services), reponse(reponse)
    {
        start();
        pret.tryAcquire(1, 10000); // the names taken on the bus
    }
    ~BureauEssai() override
    {
        quit();
        wait();
    }

private:
    struct Service final : QDBusVirtualObject {
        Service(BureauEssai &bureau, uint premier) : bureau(bureau), suivant(premier) {}
        QString introspect(const QString &) const override { return {}; }
        bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
        {
            QStringList arguments;
            for (const QVariant &argument : message.arguments())
                arguments << argument.toString();
            noter(message.interface() + '.' + message.member() + ' ' + message.signature() + ' ' +
                  arguments.join(" | "));
            if (bureau.reponse == erreur)
                bus.send(message.createErrorReply("org.freedesktop.DBus.Error.Failed", "non"));
            else if (bureau.reponse == jeton)
                bus.send(message.member().startsWith("Inhibit")
                             ? message.createReply(QVariant::fromValue(suivant++))
                             : message.createReply());
            return true;
        }
        BureauEssai &bureau;
        uint suivant;
    };

    void run() override
    {
        const auto chemin = [](QString nom) { return '/' + nom.replace('.', '/'); };
        {
            QDBusConnection bus = QDBusConnection::connectToBus(adresse, "bureau-essai");
            Service ecranEssai(*this, 7001), gnomeEssai(*this, 9001);
            for (const QString &nom : services) {
                bus.registerVirtualObject(chemin(nom), nom == ecran ? &ecranEssai : &gnomeEssai);
                bus.registerService(nom);
            }
            pret.release();
            exec();
            // Names given back before the next row looks for them.
            for (const QString &nom : services) {
                bus.unregisterService(nom);
                bus.unregisterObject(chemin(nom));
            }
        }
        QDBusConnection::disconnectFromBus("bureau-essai");
    }

    const QString adresse;
    const QStringList services;
    const int reponse;
    QSemaphore pret;
};

QtMessageHandler gestionnairePrecedent = nullptr;

// The station's lines about the screens, the reason of a refusal left out once seen.
void noterLigne(QtMsgType type, const QMessageLogContext &contexte, const QString &message)
{
    if (type != QtDebugMsg || !message.startsWith(QLatin1String("veille")))
        return gestionnairePrecedent(type, contexte, message);
    noter(QString(message).remove(QRegularExpression(QStringLiteral(" \\(.+\\)$"))));
}

// The exchange a code of the rows below stands for.
QString echange(const QString &code)
{
    if (code.size() == 1)
        return code == "S"   ? "veille suspendue"
               : code == "R" ? "veille rétablie"
                             : "veille : l'écran peut s'éteindre";
    const bool e = code.startsWith('E');
    if (code.at(1) == '-')
        return (e ? ecran + ".UnInhibit u " : gnome + ".Uninhibit u ") + code.mid(2);
    return e ? ecran + ".Inhibit ss Vellor's Cup Display | Affichage public du concours"
             : gnome + ".Inhibit susu Vellor's Cup Display | 0 | Affichage public du concours | 8";
}
} // namespace

class TstVeille : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier;
    QProcess demon;
    QString adresse;

private slots:
    void initTestCase()
    {
        // A session bus of our own, without service activation: nothing on this machine may
        // answer in the stand-in's place.
        const QString config = dossier.filePath(QStringLiteral("session.conf"));
        QVERIFY(ecrireFichier(
            config, "<busconfig><type>session</type><listen>unix:path=" +
                        dossier.filePath(QStringLiteral("bus")).toUtf8() +
                        "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                        "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n"));
        demon.start(QStringLiteral("dbus-daemon"),
                    {"--config-file=" + config, "--nofork", "--print-address=1"});
        QVERIFY2(demon.waitForStarted(10000), "dbus-daemon introuvable (paquet dbus)");
        QTRY_VERIFY_WITH_TIMEOUT(demon.canReadLine(), 10000);
        adresse = QString::fromUtf8(demon.readLine()).trimmed();
        QVERIFY2(!adresse.isEmpty(), demon.readAllStandardError().constData());
        // Before anything opens the session bus, which Qt then keeps for the whole run.
        qputenv("DBUS_SESSION_BUS_ADDRESS", adresse.toUtf8());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        gestionnairePrecedent = qInstallMessageHandler(noterLigne);
    }

    void init() { journal.clear(); }

    // Steps: "v" watch both windows; "+n", "-n" show or hide window n; "mn" minimise it;
    // "xn" delete it; "q" delete the watcher, as at quit; "=1" or "=0": the hold taken or
    // not after it. Exchanges: "E+" or "G+" a hold asked of the screen saver or of GNOME,
    // "E-7001" or "G-9001" that hold given back; the lines "S" suspended, "R" restored, "P"
    // the screens may sleep.
    void suspension_data()
    {
        const auto ligne = colonnes<QStringList, QString, int, QString>(
            {"services", "etapes", "reponse", "echanges"});
        const QStringList deux = {ecran, gnome};
        ligne("rendue quand la dernière se cache, reprise ensuite", deux,
              "v=0 +1=1 +2=1 -1=1 -2=0 +1=1 -1=0", jeton, "E+ S E-7001 R E+ S E-7002 R");
        // Minimising, then hiding, then showing again sends Hide twice and Show twice.
        ligne("réduite, cachée, remontrée : comptée une fois", deux,
              "v=0 +2=1 +1=1 m1=1 -1=1 +1=1 -1=1 -2=0", jeton, "E+ S E-7001 R");
        ligne("déjà affichée quand on la surveille", deux, "+1=0 v=1 -1=0", jeton, "E+ S E-7001 R");
        ligne("détruite pendant l'affichage", deux, "v=0 +1=1 +2=1 x1=1 x2=0", jeton,
              "E+ S E-7001 R");
        ligne("fin du programme, fenêtres affichées", deux, "v=0 +1=1 +2=1 q", jeton,
              "E+ S E-7001 R");
        ligne("sans économiseur : session GNOME", {gnome}, "v=0 +1=1 +2=1 -2=1 -1=0", jeton,
              "G+ S G-9001 R");
        ligne("aucun service : une ligne par tentative", {}, "v=0 +1=0 +2=0 -1=0 -2=0 +1=0", jeton,
              "P P");
        ligne("économiseur en erreur", deux, "v=0 +1=0 +2=0 -1=0 -2=0", erreur, "E+ P");
        ligne("économiseur muet : attente bornée", {ecran}, "v=0 +1=0 -1=0", silence, "E+ P");
    }

    void suspension()
    {
        QFETCH(QStringList, services);
        QFETCH(QString, etapes);
        QFETCH(int, reponse);
        QFETCH(QString, echanges);
        BureauEssai bureau(adresse, services, reponse);
        auto veille = std::make_unique<VeilleEcran>();
        std::unique_ptr<QWidget> fenetres[2] = {std::make_unique<QWidget>(),
                                                std::make_unique<QWidget>()};
        for (const QString &etape : etapes.split(' ')) {
            const QString mot = etape.section('=', 0, 0);
            auto &fenetre = fenetres[qMax(mot.right(1).toInt(), 1) - 1];
            QElapsedTimer duree;
            duree.start();
            if (mot == "v")
                for (auto &f : fenetres)
                    veille->surveiller(f.get());
            else if (mot == "q")
                veille.reset();
            else if (mot.startsWith('x'))
                fenetre.reset();
            else
                QMetaObject::invokeMethod(fenetre.get(), mot.startsWith('+')   ? "show"
                                                         : mot.startsWith('-') ? "hide"
                                                                               : "showMinimized");
            // A hung service costs the windows a bounded wait, not the bus's own 25 s.
            QVERIFY2(duree.elapsed() < 15000, qPrintable(mot));
            // What the window system sends back (exposure, state) comes in too.
            QCoreApplication::processEvents();
            if (veille)
                QVERIFY2(veille->suspendue() == (etape.section('=', 1) == "1"), qPrintable(etape));
        }
        QStringList attendus;
        for (const QString &code : echanges.split(' '))
            attendus << echange(code);
        QMutexLocker verrou(&garde);
        QCOMPARE(journal, attendus);
    }
};

#else
#ifdef Q_OS_WIN
#include <windows.h>
#endif

// Without D-Bus: Windows holds the screens through the execution state of the interface
// thread, this test's; read with no ES_CONTINUOUS, it stays as it is. Elsewhere nothing can.
class TstVeille : public QObject
{
    Q_OBJECT

private slots:
    void suspension()
    {
#ifndef Q_OS_WIN
        QSKIP("construit sans QtDBus");
#else
        VeilleEcran veille;
        QWidget fenetre;
        veille.surveiller(&fenetre);
        for (const bool montree : {true, false}) {
            fenetre.setVisible(montree);
            QTRY_COMPARE(veille.suspendue(), montree);
            QCOMPARE(bool(SetThreadExecutionState(0) & ES_DISPLAY_REQUIRED), montree);
        }
#endif
    }
};
#endif

QTEST_MAIN(TstVeille)
#include "tst_veille.moc"
