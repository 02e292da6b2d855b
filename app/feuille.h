#ifndef FEUILLE_H
#define FEUILLE_H

#include "app/reglages.h"
#include "core/parametres.h"

#include <QMainWindow>
#include <QPointer>

namespace Ui
{
class Feuille;
}
class QLabel;
class QSlider;
class QTimer;
class QToolButton;
class DialogueReglages;
class Diffusion;
class FenetreAffichage;
class MemoireEtat;
class Reseau;
class Win1;
class Win2;
class Win3;
class Win4;
class Win5;

// The operator's control window: the five window buttons, the font sliders and the
// network panel. It owns the display windows, the receiver, the settings and what the
// state is published through, and wires them together.
class Feuille final : public QMainWindow
{
    Q_OBJECT

public:
    explicit Feuille(QWidget *parent = nullptr);
    ~Feuille() override;

    void chargerParametres();
    void sauverParametres();

    // The command line's part: sources, recording, windows brought back after the first
    // connection.
    void appliquerOptions(const OptionsStation &options);

    // Window n, 1 to 5, and its button.
    FenetreAffichage *fenetre(int n) const;
    QToolButton *boutonFenetre(int n) const;
    // Font slider and label of window n, 1 to 4.
    QSlider *curseurTailleFonte(int n) const;
    QLabel *etiquetteTailleFonte(int n) const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

public slots:
    void mainFeuilleConnexionToolButtonSlot();
    void mainFeuilleQuitterToolButtonSlot();
    void mainFeuilleReglagesToolButtonSlot();
    void reseauParametrageSlot();
    void reseauPortLineEditSlot();
    void reseauUpdateAffichageSlot();
    void mainWinTailleFonteSliderSlot(int taille);
    // Something the operator changed: the settings file follows within a second.
    void parametresModifiesSlot();
    void etatFluxSlot();

    void ecranSeriesToolButtonSlot();
    void ecranSeriesMenuToolButtonSlot(QPoint pos);
    void ecranSeriesMenuCentrerSlot();
    void ecranSeriesMenuAgrandirSlot();

    void ecranPreparationToolButtonSlot();
    void ecranPreparationMenuToolButtonSlot(QPoint pos);
    void ecranPreparationMenuCentrerSlot();
    void ecranPreparationMenuAgrandirSlot();

    void ecranEpreuvesToolButtonSlot();
    void ecranEpreuvesMenuToolButtonSlot(QPoint pos);
    void ecranEpreuvesMenuCentrerSlot();
    void ecranEpreuvesMenuAgrandirSlot();

    void ecranCoupeToolButtonSlot();
    void ecranCoupeMenuToolButtonSlot(QPoint pos);
    void ecranCoupeMenuCentrerSlot();
    void ecranCoupeMenuAgrandirSlot();

    void ecranEpreuveCouranteToolButtonSlot();
    void ecranEpreuveCouranteMenuToolButtonSlot(QPoint pos);
    void ecranEpreuveCouranteMenuCentrerSlot();

private:
    void remplirTableAdresses();
    // Each piece whose settings changed takes its new values.
    void appliquerReglages(Reglages::Parties parties);
    void afficherEtatDiffusion();
    void connecterReseau();
    // The contest as it last stood, shown until the sender's first frame.
    void reprendreEtat();

    void reprendreFenetres();
    void basculerFenetre(int n);
    void afficherMenuFenetre(int n, QPoint pos);
    void centrerFenetre(int n);
    void agrandirFenetre(int n);

    // The five windows in order, with their button and, for the first four, their font
    // slider and its label: the one table every window command works on.
    struct CommandesFenetre {
        FenetreAffichage *fenetre;
        QToolButton *bouton;
        QSlider *curseur;
        QLabel *etiquette;
    };
    CommandesFenetre commandes[nombreFenetres] = {};

    QTimer *minuterieEtatFlux;
    // Said under the feed's state, in red, until mended.
    QString noteEcoute;
    QString noteEnregistrement;
    QString noteReprise;
    bool etatReprisAffiche = false; // until the first frame
    bool reprisePrevue = false;

    Ui::Feuille *ui;
    Reglages *reglages;
    Reseau *reseau;
    Diffusion *diffusionEtat;
    MemoireEtat *memoire;
    QPointer<DialogueReglages> dialogue;
    Win1 *fenetre1;
    Win2 *fenetre2;
    Win3 *fenetre3;
    Win4 *fenetre4;
    Win5 *fenetre5;
};

#endif
