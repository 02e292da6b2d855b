#ifndef WIN4GRAPHIQUE_H
#define WIN4GRAPHIQUE_H

#include "windows/scene.h"

namespace Ui
{
class win4;
}

// The cup classification: one line per pilot (badge with the rank, points, number, name),
// flowing down in columns as wide as their longest name.
class Win4Graphique final : public SceneFenetre
{
    Q_OBJECT

public:
    Win4Graphique(QWidget *fenetre, Ui::win4 *form);

    void dessiner() override;

private:
    Ui::win4 *form;
    FondScene fond;
    MesuresTextes largeursNoms;
};

#endif
