#include "core/journal.h"
#include "core/lignecommande.h"
#include "tools/simulateur/concours.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace
{

volatile std::sig_atomic_t arretDemande = 0;

void surSignal(int)
{
    arretDemande = 1;
}

const int tailleMaxDatagramme = 65507;

void ecrire(const QString &texte)
{
    std::fputs(texte.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

struct Reglages {
    QHostAddress hote;
    quint16 port = 7700;
    int intervalle = 1000;
    int pilotes = ConcoursDemo::pilotesParDefaut;
    double vitesse = 1.0;
    quint32 graine = ConcoursDemo::graineParDefaut;
    int debut = 0;
    QString rejeu;
    QString enregistrement;
    qint64 nombre = -1; // no limit
    int rafale = 1;
    bool silencieux = false;
};

class Simulateur final
{
public:
    explicit Simulateur(const Reglages &r)
        : reglages(r), concours(r.graine, r.pilotes), tempsConcours(r.debut)
    {
        concours.avancer(r.debut);
    }

    bool ouvrir(QString &erreur)
    {
        if (!reglages.rejeu.isEmpty()) {
            QFile fichier(reglages.rejeu);
            if (!fichier.open(QIODevice::ReadOnly)) {
                erreur = QStringLiteral("impossible de lire %1 : %2")
                             .arg(reglages.rejeu, fichier.errorString());
                return false;
            }
            lignes = lireJournal(fichier.readAll());
        }
        // Each run records itself alone, over what the file held, as it always did.
        return reglages.enregistrement.isEmpty() ||
               enregistrement.ouvrir(reglages.enregistrement, &erreur, Journal::Mode::Remplacement);
    }

    void demarrer()
    {
        QObject::connect(&minuterie, &QTimer::timeout, [this] { envoyerRafale(); });
        QObject::connect(&veille, &QTimer::timeout, [this] {
            if (arretDemande)
                terminer(0);
        });
        veille.start(100);
        minuterie.start(reglages.intervalle);
        QTimer::singleShot(0, [this] { envoyerRafale(); });
    }

private:
    bool rejeu() const { return !reglages.rejeu.isEmpty(); }
    bool fini() const
    {
        return (reglages.nombre >= 0 && envoyes + echecs >= reglages.nombre) ||
               (rejeu() && ligne >= lignes.size());
    }

    void envoyerRafale()
    {
        if (termine)
            return;
        if (arretDemande || fini()) {
            terminer(0);
            return;
        }
        const QByteArray trame = rejeu() ? QByteArray() : concours.trame();
        for (int i = 0; i < reglages.rafale && !fini(); ++i) {
            if (!envoyer(rejeu() ? lignes[ligne++] : trame)) {
                terminer(1);
                return;
            }
        }
        dernierEtat = etat();
        afficher(false);
        if (!rejeu()) {
            ++tops;
            const qint64 cible =
                reglages.debut +
                qint64(std::floor(double(tops) * reglages.intervalle * reglages.vitesse / 1000.0));
            concours.avancer(int((cible - tempsConcours) % concours.dureeCycle()));
            tempsConcours = cible;
        }
        if (fini())
            terminer(0);
    }

    bool envoyer(const QByteArray &trame)
    {
        if (trame.size() > tailleMaxDatagramme) {
            ecrire(QStringLiteral("\ntrame de %1 octets : trop grande pour un datagramme\n")
                       .arg(trame.size()));
            return false;
        }
        if (socket.writeDatagram(trame, reglages.hote, reglages.port) < 0) {
            ++echecs; // a full buffer or a refusal from the peer: the next frame may pass
            return true;
        }
        ++envoyes;
        // A recording with holes would replay another contest: better stop and say so.
        if (enregistrement.estOuvert() && !enregistrement.ajouter(trame)) {
            ecrire(QLatin1Char('\n') + enregistrement.erreur() + QLatin1Char('\n'));
            return false;
        }
        return true;
    }

    // What the frames just sent show, for the progress line.
    QString etat() const
    {
        if (rejeu())
            return QStringLiteral("Rejeu : ligne %1/%2").arg(ligne).arg(lignes.size());
        static const char *const phases[] = {"en attente", "en vol", "résultats",
                                             "classement final"};
        const Moment m = concours.moment();
        return QString::fromUtf8("Épreuve %1/5 %2 | série %3/%4 %5 | %6 / %7")
            .arg(m.epreuve + 1)
            .arg(ConcoursDemo::nomEpreuve(m.epreuve))
            .arg(m.serie + 1)
            .arg(concours.nombreSeries())
            .arg(QString::fromUtf8(phases[int(m.phase)]))
            .arg(concours.ecoule(), concours.restant());
    }

    void afficher(bool toujours)
    {
        if (reglages.silencieux ||
            (!toujours && dernierAffichage.isValid() && dernierAffichage.elapsed() < 200))
            return;
        dernierAffichage.start();
        QString texte = dernierEtat + QStringLiteral(" | datagrammes : %1").arg(envoyes);
        if (echecs > 0)
            texte += QString::fromUtf8(", échecs : %1").arg(echecs);
        // Blanks over what a longer previous line left behind.
        ecrire(QLatin1Char('\r') + texte.leftJustified(largeurAffichee));
        largeurAffichee = texte.size();
    }

    void terminer(int code)
    {
        if (termine)
            return;
        termine = true;
        minuterie.stop();
        veille.stop();
        afficher(true);
        if (!reglages.silencieux)
            ecrire(QStringLiteral("\n"));
        enregistrement.fermer();
        QCoreApplication::exit(code);
    }

    Reglages reglages;
    ConcoursDemo concours;
    qint64 tempsConcours;
    qint64 tops = 0;
    QList<QByteArray> lignes;
    int ligne = 0;
    Journal enregistrement;
    QUdpSocket socket;
    QTimer minuterie;
    QTimer veille;
    QElapsedTimer dernierAffichage;
    qint64 envoyes = 0;
    qint64 echecs = 0;
    QString dernierEtat;
    int largeurAffichee = 0;
    bool termine = false;
};

QString nomLong(const QCommandLineOption &option)
{
    for (const QString &nom : option.names())
        if (nom.size() > 1)
            return nom;
    return option.names().constFirst();
}

bool entier(const QString &texte, qint64 min, qint64 max, qint64 &valeur)
{
    bool ok = false;
    valeur = texte.toLongLong(&ok);
    return ok && valeur >= min && valeur <= max;
}

// Reads the command line into r; false with a message when it cannot be used.
bool lireOptions(const QCoreApplication &app, QCommandLineParser &parseur, Reglages &r,
                 QString &erreur)
{
    parseur.setApplicationDescription(QString::fromUtf8(
        "Simulateur de concours pour Vellor's Cup Display : joue un concours de "
        "démonstration\net envoie son état à la station d'affichage, une trame par "
        "datagramme UDP.\nLe concours recommence sans fin, sauf avec --count ou --replay."));
    const QCommandLineOption aide({"h", "help", "aide"}, QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Affiche la version."));
    const QCommandLineOption hote(
        {"H", "hote"},
        QString::fromUtf8("Adresse IP de la station d'affichage (127.0.0.1 par défaut)."),
        QStringLiteral("adresse"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port({"p", "port"},
                                  QString::fromUtf8("Port UDP de la station (7700 par défaut)."),
                                  QStringLiteral("port"), QStringLiteral("7700"));
    const QCommandLineOption intervalle(
        {"i", "intervalle"},
        QString::fromUtf8("Millisecondes entre deux envois (1000 par défaut, 0 : au plus vite)."),
        QStringLiteral("ms"), QStringLiteral("1000"));
    const QCommandLineOption pilotes(
        {"n", "pilotes"},
        QString::fromUtf8("Nombre de pilotes du concours, de 1 à %1 (%2 par défaut).")
            .arg(ConcoursDemo::pilotesMax)
            .arg(ConcoursDemo::pilotesParDefaut),
        QStringLiteral("nombre"), QString::number(ConcoursDemo::pilotesParDefaut));
    const QCommandLineOption vitesse(
        QStringLiteral("vitesse"),
        QString::fromUtf8("Secondes de concours par seconde réelle (1 par défaut)."),
        QStringLiteral("facteur"), QStringLiteral("1"));
    const QCommandLineOption graine(
        {"g", "graine"},
        QString::fromUtf8("Graine du tirage des pilotes et des résultats (%1 par défaut).")
            .arg(ConcoursDemo::graineParDefaut),
        QStringLiteral("nombre"), QString::number(ConcoursDemo::graineParDefaut));
    const QCommandLineOption debut(
        QStringLiteral("debut"),
        QString::fromUtf8("Instant du concours où commencer, en secondes (0 par défaut)."),
        QStringLiteral("secondes"), QStringLiteral("0"));
    const QCommandLineOption replay(
        {"replay", "rejouer"},
        QString::fromUtf8("Rejoue un fichier au lieu du concours : chaque ligne part en un "
                          "datagramme, dans l'ordre, puis le simulateur s'arrête. Lit les "
                          "journaux de --record et les fichiers d'une trame brute par ligne."),
        QStringLiteral("fichier"));
    const QCommandLineOption record(
        {"record", "enregistrer"},
        QString::fromUtf8("Enregistre chaque trame envoyée dans un journal que --replay "
                          "rejoue, une par ligne (le fichier est remplacé)."),
        QStringLiteral("fichier"));
    const QCommandLineOption count({"count", "nombre"},
                                   QString::fromUtf8("S'arrête après ce nombre de datagrammes."),
                                   QStringLiteral("nombre"));
    const QCommandLineOption burst(
        {"burst", "rafale"},
        QString::fromUtf8("Envoie ce nombre de datagrammes d'affilée à chaque envoi, pour les "
                          "essais de charge (1 par défaut)."),
        QStringLiteral("nombre"), QStringLiteral("1"));
    const QCommandLineOption silencieux({"q", "silencieux"},
                                        QString::fromUtf8("N'affiche pas la progression."));
    parseur.addOptions({aide, version, hote, port, intervalle, pilotes, vitesse, graine, debut,
                        replay, record, count, burst, silencieux});

    if (!parseur.parse(app.arguments())) {
        erreur = enFrancais(parseur.errorText());
        return false;
    }
    if (parseur.isSet(aide)) {
        std::fputs(enFrancais(parseur.helpText()).toLocal8Bit().constData(), stdout);
        std::exit(0);
    }
    if (parseur.isSet(version)) {
        std::printf("%s %s\n", qPrintable(app.applicationName()),
                    qPrintable(app.applicationVersion()));
        std::exit(0);
    }
    if (!parseur.positionalArguments().isEmpty()) {
        erreur = QStringLiteral("argument inattendu : %1").arg(parseur.positionalArguments()[0]);
        return false;
    }

    const QString adresse = parseur.value(hote);
    r.hote = adresse == QLatin1String("localhost") ? QHostAddress(QHostAddress::LocalHost)
                                                   : QHostAddress(adresse);
    if (r.hote.isNull()) {
        erreur = QStringLiteral("adresse invalide : %1").arg(adresse);
        return false;
    }

    qint64 v = 0;
    const auto lire = [&](const QCommandLineOption &option, qint64 min, qint64 max) {
        if (entier(parseur.value(option), min, max, v))
            return true;
        erreur = QString::fromUtf8("--%1 attend un entier de %2 à %3, pas « %4 »")
                     .arg(nomLong(option))
                     .arg(min)
                     .arg(max)
                     .arg(parseur.value(option));
        return false;
    };
    if (!lire(port, 1, 65535))
        return false;
    r.port = quint16(v);
    if (!lire(intervalle, 0, 3600000))
        return false;
    r.intervalle = int(v);
    if (!lire(pilotes, 1, ConcoursDemo::pilotesMax))
        return false;
    r.pilotes = int(v);
    if (!lire(graine, 0, 0xFFFFFFFFLL))
        return false;
    r.graine = quint32(v);
    if (!lire(debut, 0, 1000000000))
        return false;
    r.debut = int(v);
    if (!lire(burst, 1, 1000000))
        return false;
    r.rafale = int(v);
    if (parseur.isSet(count)) {
        if (!lire(count, 0, Q_INT64_C(1000000000000)))
            return false;
        r.nombre = v;
    }

    bool ok = false;
    QString texteVitesse = parseur.value(vitesse);
    r.vitesse = texteVitesse.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !(r.vitesse > 0) || r.vitesse > 1e6) {
        erreur = QString::fromUtf8("--vitesse attend un nombre positif, pas « %1 »")
                     .arg(parseur.value(vitesse));
        return false;
    }

    r.rejeu = parseur.value(replay);
    r.enregistrement = parseur.value(record);
    r.silencieux = parseur.isSet(silencieux);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellorcup-simulateur"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLOR_VERSION));

    QCommandLineParser parseur;
    Reglages reglages;
    QString erreur;
    if (!lireOptions(app, parseur, reglages, erreur)) {
        ecrire(QStringLiteral("vellorcup-simulateur : %1\n(--aide pour la liste des options)\n")
                   .arg(erreur));
        return 1;
    }

    Simulateur simulateur(reglages);
    if (!simulateur.ouvrir(erreur)) {
        ecrire(QStringLiteral("vellorcup-simulateur : %1\n").arg(erreur));
        return 1;
    }
    std::signal(SIGINT, surSignal);
    std::signal(SIGTERM, surSignal);
    simulateur.demarrer();
    return app.exec();
}
