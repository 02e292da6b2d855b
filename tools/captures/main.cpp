// Renders the control window and the five display windows to PNG files, fed in-process by
// the demo contest at a chosen moment. Runs offscreen and never opens a socket.
#include "app/feuille.h"
#include "core/parametres.h"
#include "core/trame.h"
#include "tools/simulateur/concours.h"
#include "windows/fenetreaffichage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>

namespace
{
const char *const nomsFichiers[] = {"series", "preparation", "classement-epreuve",
                                    "classement-coupe", "diffusion-epreuve"};

Phase phaseDepuis(const QString &texte)
{
    if (texte == QLatin1String("attente"))
        return Phase::Attente;
    if (texte == QLatin1String("resultats"))
        return Phase::Resultats;
    if (texte == QLatin1String("fin"))
        return Phase::Fin;
    return Phase::Vol;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Images PNG de la fenêtre de contrôle et des cinq fenêtres d'affichage, "
                       "nourries par le concours de démonstration."));
    options.addHelpOption();
    options.addOptions({
        {"dossier", "Dossier des images (défaut : .).", "dossier", "."},
        {"taille", "Taille des fenêtres d'affichage, LxH (défaut : 1280x720).", "taille",
         "1280x720"},
        {"epreuve", "Épreuve en cours, 0 à 4 (défaut : 2).", "epreuve", "2"},
        {"serie", "Série en cours (défaut : 1).", "serie", "1"},
        {"phase", "attente, vol, resultats ou fin (défaut : vol).", "phase", "vol"},
        {"seconde", "Secondes écoulées dans la phase (défaut : 42).", "seconde", "42"},
        {"pilotes", "Nombre de pilotes (défaut : 24).", "pilotes", "24"},
        {"suffixe", "Ajouté au nom de chaque image.", "suffixe", ""},
    });
    options.process(application);

    const QStringList taille = options.value("taille").split('x');
    const int largeur = taille.value(0).toInt();
    const int hauteur = taille.value(1).toInt();
    if (largeur <= 0 || hauteur <= 0) {
        std::fprintf(stderr, "taille invalide : %s\n", qPrintable(options.value("taille")));
        return 2;
    }

    // Settings in a scratch folder, with no port: nothing is read from or written to the
    // user's files, and no socket is opened.
    QTemporaryDir brouillon;
    parametres.repertoireDonnees = brouillon.path();
    {
        QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
        ecrireParametres(fichier);
    }

    Feuille feuille;
    feuille.show();

    ConcoursDemo concours(ConcoursDemo::graineParDefaut, options.value("pilotes").toInt());
    concours.allerA(options.value("epreuve").toInt(), options.value("serie").toInt(),
                    phaseDepuis(options.value("phase")), options.value("seconde").toInt());
    decoderTrame(concours.trame());

    for (int n = 1; n <= nombreFenetres; ++n) {
        FenetreAffichage *f = feuille.fenetre(n);
        f->move(0, 0);
        f->resize(largeur, hauteur);
        f->show();
    }
    // Let the automatic click of start-up pass (it binds nothing here: no port).
    QElapsedTimer attente;
    attente.start();
    while (attente.elapsed() < 300)
        application.processEvents();
    feuille.reseauUpdateAffichageSlot();
    application.processEvents();

    // As during the contest: port 7700, connected. Only the widgets change; no socket.
    auto *port = feuille.findChild<QLineEdit *>(QStringLiteral("mainFeuilleReseauPortLineEdit"));
    port->blockSignals(true);
    port->setText(QStringLiteral("7700"));
    port->blockSignals(false);
    feuille.findChild<QToolButton *>(QStringLiteral("mainFeuilleConnexionToolButton"))
        ->setChecked(true);

    const QDir dossier(options.value("dossier"));
    dossier.mkpath(QStringLiteral("."));
    const QString suffixe = options.value("suffixe");
    auto enregistrer = [&](QWidget *w, const QString &nom) {
        const QString chemin = dossier.filePath(nom + suffixe + QStringLiteral(".png"));
        if (!w->grab().save(chemin)) {
            std::fprintf(stderr, "impossible d'écrire %s\n", qPrintable(chemin));
            return false;
        }
        std::printf("%s\n", qPrintable(chemin));
        return true;
    };
    bool ok = enregistrer(&feuille, QStringLiteral("controle"));
    for (int n = 1; n <= nombreFenetres; ++n)
        ok = enregistrer(feuille.fenetre(n), QString::fromLatin1(nomsFichiers[n - 1])) && ok;
    return ok ? 0 : 1;
}
