#ifndef WIN5GRAPHIQUE_H
#define WIN5GRAPHIQUE_H

#include <QGraphicsScene>

namespace Ui {
class win5;
}

class Win5Graphique final : public QGraphicsScene
{
    Q_OBJECT

public:
    Win5Graphique(QWidget *fenetre, Ui::win5 *form);

    void dessiner();

private:
    Ui::win5 *form;
};

#endif
