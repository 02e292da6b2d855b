#include "app/affiche.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "network/regles.h"
#include "windows/codeqr.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QUrl>

#include <utility>

namespace
{

// Room for the text, in points: printed and taped at the gate, read from a few steps away.
constexpr int pointsTitre = 44;
constexpr int pointsTitreMin = 20;
constexpr int pointsTexte = 18;
constexpr int pointsConsigne = 15;

// The height `texte` takes once wrapped to `largeur` in the painter's current font.
int hauteur(QPainter &peintre, int largeur, int drapeaux, const QString &texte)
{
    return peintre.boundingRect(QRect(0, 0, largeur, 1 << 20), drapeaux, texte).height();
}

// Black modules as rectangles, one per run along a row: vector shapes stay sharp whatever
// the printer does, where an image might be smoothed. The code's white quiet zone is part of
// the square, so nothing else is drawn in it.
void dessinerCode(QPainter &peintre, const QImage &code, const QPoint &origine, int module)
{
    for (int y = 0; y < code.height(); ++y) {
        int x = 0;
        while (x < code.width()) {
            if (qGray(code.pixel(x, y)) >= 128) {
                ++x;
                continue;
            }
            const int debut = x;
            while (x < code.width() && qGray(code.pixel(x, y)) < 128)
                ++x;
            peintre.fillRect(origine.x() + debut * module, origine.y() + y * module,
                             (x - debut) * module, module, Qt::black);
        }
    }
}
} // namespace

QString adresseAffiche(const QString &relais, const QString &adresseStation)
{
    const QUrl publication = adresseRelais(relais);
    if (publication.isEmpty())
        return adresseStation;
    // The phones read the page at the relay's root; the publishing path and any user name
    // stay off the wall.
    QUrl page;
    page.setScheme(publication.scheme());
    page.setHost(publication.host());
    page.setPort(publication.port());
    page.setPath(QStringLiteral("/"));
    return page.toString();
}

ContenuAffiche contenuAffiche(const QString &adresseStation)
{
    ContenuAffiche contenu;
    contenu.titre = !parametres.afficheTitre.isEmpty() ? parametres.afficheTitre
                    : !titreCoupe.trimmed().isEmpty()  ? titreCoupe.trimmed()
                                                       : QStringLiteral("Vellor's Cup");
    contenu.adresse = adresseAffiche(parametres.relais, adresseStation);
    contenu.wifi = parametres.afficheWifi;
    return contenu;
}

bool ecrireAffiche(const QString &chemin, const ContenuAffiche &contenu, QString *erreur)
{
    const auto refus = [&](const QString &raison) {
        if (erreur)
            *erreur = QStringLiteral("impossible d'écrire l'affiche %1 : %2").arg(chemin, raison);
        return false;
    };
    const QImage code = imageCodeQr(contenu.adresse);
    if (contenu.adresse.isEmpty() || code.isNull())
        return refus(QStringLiteral("adresse absente ou trop longue"));
    // Written aside and put in place at the end: a failed run leaves the previous poster.
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return refus(fichier.errorString());

    QPdfWriter pdf(&fichier);
    pdf.setTitle(contenu.titre);
    pdf.setCreator(QStringLiteral("Vellor's Cup Display"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    QPainter peintre;
    if (!peintre.begin(&pdf))
        return refus(QStringLiteral("le PDF ne peut pas commencer"));
    const int largeur = pdf.width(), hauteurPage = pdf.height();
    const int ecart = hauteurPage / 40;
    constexpr int centre = Qt::AlignHCenter | Qt::TextWordWrap;

    // A long title gets smaller rather than pushing the code off the page.
    QFont titre = peintre.font();
    titre.setBold(true);
    titre.setPointSize(pointsTitre);
    peintre.setFont(titre);
    while (titre.pointSize() > pointsTitreMin &&
           hauteur(peintre, largeur, centre, contenu.titre) > hauteurPage / 5) {
        titre.setPointSize(titre.pointSize() - 2);
        peintre.setFont(titre);
    }
    const int hTitre = hauteur(peintre, largeur, centre, contenu.titre);
    peintre.drawText(QRect(0, 0, largeur, hTitre), centre, contenu.titre);

    // Under the code: the address (cut anywhere, an address has no spaces), the network, then
    // what to do, measured first so that the code takes what is left.
    QFont texte = peintre.font();
    texte.setBold(false);
    texte.setPointSize(pointsTexte);
    QFont wifi = texte;
    wifi.setBold(true);
    QFont consigne = texte;
    consigne.setPointSize(pointsConsigne);
    const QString phraseConsigne =
        contenu.wifi.isEmpty()
            ? QStringLiteral("Scannez le code avec l'appareil photo de votre "
                             "téléphone pour suivre les résultats en direct.")
            : QStringLiteral("Rejoignez ce réseau Wi-Fi, puis scannez le code avec "
                             "l'appareil photo de votre téléphone pour suivre les "
                             "résultats en direct.");
    struct Ligne {
        QFont police;
        int drapeaux;
        QString texte;
        int hauteur = 0;
    };
    QList<Ligne> lignes{{texte, Qt::AlignHCenter | Qt::TextWrapAnywhere, contenu.adresse}};
    if (!contenu.wifi.isEmpty())
        lignes.append({wifi, centre, QStringLiteral("Réseau Wi-Fi : %1").arg(contenu.wifi)});
    lignes.append({consigne, centre, phraseConsigne});
    // The page speaks English too: said in English, for those who read no French.
    lignes.append({consigne, centre,
                   QStringLiteral("Also in English: scan the code to follow the results live.")});
    int hBas = 0;
    for (Ligne &ligne : lignes) {
        peintre.setFont(ligne.police);
        ligne.hauteur = hauteur(peintre, largeur, ligne.drapeaux, ligne.texte);
        hBas += ligne.hauteur + ecart;
    }

    // The code as large as the room allows, in whole device pixels a module so that every
    // module has the same size; centred between the title and the text.
    const int place = hauteurPage - hTitre - hBas - ecart;
    const int module = qMin(largeur, place) / code.width();
    if (module < 1) {
        peintre.end();
        return refus(QStringLiteral("texte trop long pour la page"));
    }
    const int cote = module * code.width();
    dessinerCode(peintre, code, QPoint((largeur - cote) / 2, hTitre + ecart + (place - cote) / 2),
                 module);

    int y = hauteurPage - hBas + ecart;
    for (const Ligne &ligne : std::as_const(lignes)) {
        peintre.setFont(ligne.police);
        peintre.drawText(QRect(0, y, largeur, ligne.hauteur), ligne.drapeaux, ligne.texte);
        y += ligne.hauteur + ecart;
    }
    if (!peintre.end())
        return refus(QStringLiteral("le PDF ne peut pas s'achever"));
    if (!fichier.commit())
        return refus(fichier.errorString());
    return true;
}
