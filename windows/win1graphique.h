#ifndef WIN1GRAPHIQUE_H
#define WIN1GRAPHIQUE_H

#include <QGraphicsScene>

namespace Ui {
class win1;
}

class Win1Graphique final : public QGraphicsScene
{
    Q_OBJECT

public:
    Win1Graphique(QWidget *fenetre, Ui::win1 *form);

    void dessiner();

private:
    Ui::win1 *form;
};

#endif
