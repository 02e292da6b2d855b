#ifndef WIN3_H
#define WIN3_H

#include "windows/fenetreaffichage.h"

namespace Ui
{
class win3;
}
class ModelTableWin3;

// The final classification of the event shown by the series window, in four blocks.
class Win3 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win3(QWidget *parent = nullptr);
    ~Win3() override;

    void miseAJour() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void mesurerLignes();
    void compterLignes();

    Ui::win3 *ui;
    ModelTableWin3 *model = nullptr;
};

#endif
