#ifndef WIN2_H
#define WIN2_H

#include "windows/fenetreaffichage.h"

namespace Ui
{
class win2;
}
class ModelTableWin2;

// The pilots of the next series, sorted by name.
class Win2 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win2(QWidget *parent = nullptr);
    ~Win2() override;

    void miseAJour() override;

protected:
    void showEvent(QShowEvent *event) override;
    void redimensionnee() override;

private:
    void repartirLignes();

    Ui::win2 *ui;
    ModelTableWin2 *model = nullptr;
};

#endif
