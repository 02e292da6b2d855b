#ifndef WIN1GRAPHIQUE_H
#define WIN1GRAPHIQUE_H

#include "windows/scene.h"

namespace Ui
{
class win1;
}

// The groups of the displayed event in columns of one width, flowing into bands.
class Win1Graphique final : public SceneFenetre
{
    Q_OBJECT

public:
    Win1Graphique(QWidget *fenetre, Ui::win1 *form);

    // Draws the page shown for the view's current size.
    void dessiner() override;

private:
    Ui::win1 *form;
    FondScene fond;
    MesuresTextes largeursNoms;
    int serieMontree = -2; // the series in flight at the last drawing, and its event
    int epreuveMontree = -2;
};

#endif
