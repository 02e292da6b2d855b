#ifndef WIN5_H
#define WIN5_H

#include "windows/fenetreaffichage.h"

#include <QStringList>

namespace Ui
{
class win5;
}
class Win5Graphique;

// The scoreboard of the event in progress: ten pilots, their scores and total.
class Win5 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win5(QWidget *parent = nullptr);
    ~Win5() override;

    void miseAJour() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Ui::win5 *ui;
    Win5Graphique *scene = nullptr;
    const QStringList nomsEpreuves;
};

#endif
