#ifndef FEUILLE_H
#define FEUILLE_H

#include "app/station.h"
#include "core/parametres.h"

#include <QMainWindow>
#include <QPointer>
#include <QShowEvent>

namespace Ui
{
class Feuille;
}
class QLabel;
class QSlider;
class QToolButton;
class DialogueReglages;
class FenetreAffichage;

// The operator's control window: the five window buttons, the font sliders and the network
// panel. It owns the display windows and the station's services, and ties its form to them.
class Feuille final : public QMainWindow
{
    Q_OBJECT

public:
    explicit Feuille(QWidget *parent = nullptr);
    ~Feuille() override;

    void chargerParametres();
    void sauverParametres() { station->sauverParametres(); }

    // The command line's part: sources, recording, page, relay, and the last state taken
    // back when the station is told to resume.
    void appliquerOptions(const OptionsStation &options) { station->demarrer(options); }
    void relireReglages() { station->relireFichier(); }

    // Window n, 1 to 5, and its button.
    FenetreAffichage *fenetre(int n) const { return commandes[n - 1].fenetre; }
    QToolButton *boutonFenetre(int n) const { return commandes[n - 1].bouton; }
    // Font slider and label of window n, 1 to 4.
    QSlider *curseurTailleFonte(int n) const { return commandes[n - 1].curseur; }
    QLabel *etiquetteTailleFonte(int n) const { return commandes[n - 1].etiquette; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override { event->accept(); }

public slots:
    void mainFeuilleConnexionToolButtonSlot();
    void mainFeuilleQuitterToolButtonSlot() { close(); }
    void mainFeuilleReglagesToolButtonSlot();
    void reseauParametrageSlot();
    void reseauPortLineEditSlot();
    void reseauUpdateAffichageSlot();
    void mainWinTailleFonteSliderSlot(int taille);
    // Something the operator changed: the settings file follows within a second.
    void parametresModifiesSlot() { station->parametresModifies(); }
    // The station's state in the status lines, now.
    void etatFluxSlot();

    // Each window's button, its right-click and its menu's items: one implementation for the
    // five.
    void ecranSeriesToolButtonSlot() { basculerFenetre(1); }
    void ecranSeriesMenuToolButtonSlot(QPoint pos) { afficherMenuFenetre(1, pos); }
    void ecranSeriesMenuCentrerSlot() { centrerFenetre(1); }
    void ecranSeriesMenuAgrandirSlot() { agrandirFenetre(1); }

    void ecranPreparationToolButtonSlot() { basculerFenetre(2); }
    void ecranPreparationMenuToolButtonSlot(QPoint pos) { afficherMenuFenetre(2, pos); }
    void ecranPreparationMenuCentrerSlot() { centrerFenetre(2); }
    void ecranPreparationMenuAgrandirSlot() { agrandirFenetre(2); }

    void ecranEpreuvesToolButtonSlot() { basculerFenetre(3); }
    void ecranEpreuvesMenuToolButtonSlot(QPoint pos) { afficherMenuFenetre(3, pos); }
    void ecranEpreuvesMenuCentrerSlot() { centrerFenetre(3); }
    void ecranEpreuvesMenuAgrandirSlot() { agrandirFenetre(3); }

    void ecranCoupeToolButtonSlot() { basculerFenetre(4); }
    void ecranCoupeMenuToolButtonSlot(QPoint pos) { afficherMenuFenetre(4, pos); }
    void ecranCoupeMenuCentrerSlot() { centrerFenetre(4); }
    void ecranCoupeMenuAgrandirSlot() { agrandirFenetre(4); }

    void ecranEpreuveCouranteToolButtonSlot() { basculerFenetre(5); }
    void ecranEpreuveCouranteMenuToolButtonSlot(QPoint pos) { afficherMenuFenetre(5, pos); }
    void ecranEpreuveCouranteMenuCentrerSlot() { centrerFenetre(5); }

private:
    void connecterFormulaire();
    void remplirTableAdresses();

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

    Ui::Feuille *ui;
    Station *station;
    QPointer<DialogueReglages> dialogue;
};

#endif
