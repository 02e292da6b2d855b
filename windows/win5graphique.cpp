#include "windows/win5graphique.h"
#include "ui_win5.h"

#include "core/donnees.h"
#include "windows/apparence.h"

#include <QFontMetrics>
#include <QPen>

Win5Graphique::Win5Graphique(QWidget *fenetre, Ui::win5 *form) : SceneFenetre(fenetre), form(form)
{
}

Win5Graphique::~Win5Graphique() = default;

// A bold face sized from the band height; never below one pixel for a view not laid out yet.
static QFont fonteGras(const QString &famille, double taille)
{
    QFont fonte(famille);
    fonte.setWeight(QFont::Bold);
    fonte.setPixelSize(qMax(1, int(taille)));
    return fonte;
}

// Only an exact "0" is an empty cell; anything else is shown as received.
static bool estVide(const QString &valeur)
{
    return valeur == QLatin1String("0");
}

void Win5Graphique::dessiner()
{
    const int largeur = form->graphicsView->width();
    const int hauteur = form->graphicsView->height();
    setSceneRect(0, 0, largeur, hauteur);
    // The first event has no scoreboard.
    if (indexEpreuveSeries <= 0)
        return;

    // One header band and ten rows; columns of 1, 7, 2, 2, 2, 2 sixteenths of the width.
    const int R = int(hauteur / 11.0);
    const int A = int(largeur * 0.5 * 0.125);
    const int B = int(largeur * 3.5 * 0.125);
    const int C = int(largeur * 0.125);
    const int X[6] = {0, A, A + B, A + B + C, A + B + 2 * C, A + B + 3 * C};
    const int L[6] = {A, B, C, C, C, C};

    const QFont entete = fonteGras(QStringLiteral("Arial"), R * 0.4);
    const QFont enteteEtroit = fonteGras(QStringLiteral("Arial"), R * 0.35);
    const QFont valeur = fonteGras(QStringLiteral("Arial Black"), R * 0.6);
    const QFont nom = fonteGras(QStringLiteral("Arial Black"), R * 0.5);
    const QFontMetrics mesureEntete(entete);
    const QFontMetrics mesureEnteteEtroit(enteteEtroit);
    const QFontMetrics mesureValeur(valeur);
    const QFontMetrics mesureNom(nom);

    using namespace Apparence;
    const QPen crayonGrille(blanc, epaisseurTrait);
    const auto cellule = [this, R](int gauche, int largeurCellule) {
        rectangle(QRectF(gauche, 0, largeurCellule, R - 6), cyanClair);
    };
    cellule(0, A - 2);
    cellule(X[1] + 2, B - 4);
    for (int k = 2; k < 5; ++k)
        cellule(X[k] + 2, C - 4);
    cellule(X[5] + 2, largeur - X[5]);

    // A text centred in column k by its bounding width.
    const auto centre = [&](const QString &t, const QFont &fonte, const QFontMetrics &mesure,
                            const QColor &couleur, int k, qreal y) {
        texte(t, fonte, couleur, xCentre(X[k], L[k], mesure.boundingRect(t).width()), y);
    };
    const auto enteteUneLigne = [&](const QString &t, int k) {
        const qreal y = 0.5 * ((R - 6) - mesureEntete.boundingRect(t).height());
        centre(t, entete, mesureEntete, bleu, k, y);
    };
    const auto enteteDeuxLignes = [&](const QString &haut, const QString &bas, const QFont &fonte,
                                      const QFontMetrics &mesure, int k) {
        centre(haut, fonte, mesure, bleu, k, 0);
        centre(bas, fonte, mesure, bleu, k, R * 0.4);
    };
    const auto ajouterValeur = [&](const QString &t, int k, int rang, const QColor &couleur) {
        centre(t, valeur, mesureValeur, couleur, k, R + 2 + (rang - 1) * R);
    };

    // Rows past the tenth are not shown.
    const int lignes = qMin(10, lignesEpreuve.size());

    enteteUneLigne(QStringLiteral("Pos."), 0);
    enteteUneLigne(QStringLiteral("Pilote"), 1);

    for (int rang = 1; rang <= 10; ++rang)
        ajouterValeur(QString::number(rang), 0, rang, cyanClair);

    for (int i = 0; i < lignes; ++i) {
        const LigneEpreuve &ligne = lignesEpreuve.at(i);
        const QString nomComplet = QLatin1Char(' ') + ligne.nom1 + QLatin1Char(' ') + ligne.nom2;
        texte(mesureNom.elidedText(nomComplet, Qt::ElideRight, B), nom, blanc, X[1] + 2,
              R + 4 + i * R);
    }

    enteteUneLigne(QStringLiteral("Vellor"), 2);
    for (int i = 0; i < lignes; ++i) {
        const LigneEpreuve &ligne = lignesEpreuve.at(i);
        const bool drapeau = ligne.drapeauNumero == QLatin1String("1");
        ajouterValeur(ligne.numero, 2, i + 1, drapeau ? vert : rouge);
    }

    enteteDeuxLignes(QStringLiteral("Touch"), QStringLiteral("and Go"), enteteEtroit,
                     mesureEnteteEtroit, 3);
    for (int i = 0; i < lignes; ++i) {
        const LigneEpreuve &ligne = lignesEpreuve.at(i);
        if (!estVide(ligne.touchAndGo))
            ajouterValeur(ligne.touchAndGo, 3, i + 1, blanc);
    }

    // The event's own discipline.
    QString LigneEpreuve::*champ = nullptr;
    switch (indexEpreuveSeries) {
    case 1:
        enteteUneLigne(QStringLiteral("Baguettes"), 4);
        champ = &LigneEpreuve::baguettes;
        break;
    case 2:
        enteteUneLigne(QStringLiteral("Pylônes"), 4);
        champ = &LigneEpreuve::pylones;
        break;
    case 3:
        enteteUneLigne(QStringLiteral("Banderoles"), 4);
        champ = &LigneEpreuve::banderoles;
        break;
    default:
        enteteDeuxLignes(QStringLiteral("Limbo en"), QStringLiteral("vol / looping"), entete,
                         mesureEntete, 4);
        break;
    }
    for (int i = 0; i < lignes; ++i) {
        const LigneEpreuve &ligne = lignesEpreuve.at(i);
        if (champ) {
            if (!estVide(ligne.*champ))
                ajouterValeur(ligne.*champ, 4, i + 1, blanc);
        } else if (!estVide(ligne.limbo) || !estVide(ligne.looping)) {
            ajouterValeur(ligne.limbo + QStringLiteral(" / ") + ligne.looping, 4, i + 1, blanc);
        }
    }

    enteteDeuxLignes(QStringLiteral("Total"), QStringLiteral("points"), entete, mesureEntete, 5);
    for (int i = 0; i < lignes; ++i) {
        const LigneEpreuve &ligne = lignesEpreuve.at(i);
        if (!estVide(ligne.total))
            ajouterValeur(ligne.total, 5, i + 1, jauneVif);
    }

    for (int j = 1; j <= 11; ++j)
        ligne(0, j * R, largeur, j * R, crayonGrille);
    for (int k = 0; k < 6; ++k)
        ligne(X[k], R, X[k], 11 * R, crayonGrille);
    ligne(largeur - 1, R, largeur - 1, 11 * R, crayonGrille);
}
