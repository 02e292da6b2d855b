#ifndef FEUILLE_H
#define FEUILLE_H

#include "core/parametres.h"

#include <QMainWindow>
#include <QPointer>

namespace Ui
{
class Feuille;
}
class QLabel;
class QSlider;
class QToolButton;
class DialogueReglages;
class FenetreAffichage;
class Station;
struct OptionsStation;

// The operator's control window: the five window buttons, the font sliders and the network
// panel. It owns the display windows and the station's services, and ties its form to them.
class Feuille final : public QMainWindow
{
    Q_OBJECT

public:
    explicit Feuille(QWidget *parent = nullptr);
    ~Feuille() override;

    void chargerParametres();
    void sauverParametres();

    // The command line's part: sources, recording, page, relay, and the last state taken
    // back when the station is told to resume.
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
    // The station's state in the status lines, now.
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
