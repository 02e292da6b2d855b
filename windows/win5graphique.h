#ifndef WIN5GRAPHIQUE_H
#define WIN5GRAPHIQUE_H

#include "windows/scene.h"

namespace Ui
{
class win5;
}

// The scoreboard grid: a header band and ten rows, every size following the view's.
class Win5Graphique final : public SceneFenetre
{
    Q_OBJECT

public:
    Win5Graphique(QWidget *fenetre, Ui::win5 *form);
    ~Win5Graphique() override;

    // Draws the grid for the view's current size.
    void dessiner() override;

private:
    Ui::win5 *form;
};

#endif
