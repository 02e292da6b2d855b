#include "windows/win5graphique.h"
#include "ui_win5.h"

Win5Graphique::Win5Graphique(QWidget *fenetre, Ui::win5 *form)
    : QGraphicsScene(fenetre), form(form)
{
}

void Win5Graphique::dessiner()
{
    clear();
    setSceneRect(0, 0, form->graphicsView->width(), form->graphicsView->height());
}
