#ifndef WIN4GRAPHIQUE_H
#define WIN4GRAPHIQUE_H

#include <QGraphicsScene>

namespace Ui {
class win4;
}

class Win4Graphique final : public QGraphicsScene
{
    Q_OBJECT

public:
    Win4Graphique(QWidget *fenetre, Ui::win4 *form);

    void dessiner();

private:
    Ui::win4 *form;
};

#endif
