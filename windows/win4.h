#ifndef WIN4_H
#define WIN4_H

#include "windows/fenetreaffichage.h"

namespace Ui {
class win4;
}
class Win4Graphique;

class Win4 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win4(QWidget *parent = nullptr);
    ~Win4() override;

    void miseAJour() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Ui::win4 *ui;
    Win4Graphique *scene = nullptr;
};

#endif
