#include "app/dialoguereglages.h"
#include "ui_dialoguereglages.h"

#include "app/affiche.h"
#include "app/diffusion.h"
#include "app/reglages.h"
#include "core/donnees.h"
#include "core/journal.h"
#include "network/etatflux.h"
#include "network/relais.h"
#include "network/reseau.h"

#include <QFileDialog>
#include <QNetworkInterface>
#include <QPushButton>
#include <QStandardPaths>

#include <limits>

namespace
{
// A reason beside its field, or nothing; true when nothing.
bool signaler(QLabel *etiquette, const QString &raison)
{
    etiquette->setText(raison);
    etiquette->setVisible(!raison.isEmpty());
    return raison.isEmpty();
}

// A field that the command line set for this run: shown, not editable, not written.
void imposer(QWidget *champ, QLabel *etiquette, bool impose)
{
    champ->setEnabled(!impose);
    etiquette->setVisible(impose);
}
} // namespace

DialogueReglages::DialogueReglages(Reglages *reglages, Diffusion *diffusion, const Reseau *reseau,
                                   QWidget *parent)
    : QDialog(parent), ui(new Ui::DialogueReglages), reglages(reglages), diffusion(diffusion),
      reseau(reseau)
{
    ui->setupUi(this);
    ui->portWebSpinBox->setRange(0, portWebMax);
    ui->dureePageSpinBox->setRange(dureePageMin, dureePageMax);
    ui->silenceSpinBox->setRange(0, std::numeric_limits<int>::max());
    ui->boutons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    ui->boutons->button(QDialogButtonBox::Apply)->setText(tr("Appliquer"));
    ui->boutons->button(QDialogButtonBox::Cancel)->setText(tr("Annuler"));
    connect(ui->boutons, &QDialogButtonBox::clicked, this, [this](QAbstractButton *bouton) {
        switch (ui->boutons->buttonRole(bouton)) {
        case QDialogButtonBox::AcceptRole:
            if (appliquer())
                accept();
            break;
        case QDialogButtonBox::ApplyRole:
            appliquer();
            break;
        default:
            reject();
        }
    });
    connect(ui->afficherJetonCheckBox, &QCheckBox::toggled, this, [this](bool visible) {
        ui->jetonLineEdit->setEchoMode(visible ? QLineEdit::Normal : QLineEdit::Password);
    });
    connect(ui->ajouterSourcePushButton, &QPushButton::clicked, this, [this] {
        ajouterSource(QString());
        ui->sourcesListWidget->editItem(ui->sourcesListWidget->currentItem());
    });
    connect(ui->retirerSourcePushButton, &QPushButton::clicked, this,
            [this] { delete ui->sourcesListWidget->currentItem(); });
    connect(ui->ajouterEmetteurPushButton, &QPushButton::clicked, this,
            &DialogueReglages::ajouterEmetteurSlot);
    connect(ui->choisirEnregistrementPushButton, &QPushButton::clicked, this,
            &DialogueReglages::choisirEnregistrementSlot);
    connect(ui->affichePushButton, &QPushButton::clicked, this, &DialogueReglages::afficheSlot);
    remplir();
}

DialogueReglages::~DialogueReglages()
{
    delete ui;
}

void DialogueReglages::remplir()
{
    const OptionsStation &imposees = reglages->imposees();
    ui->portWebSpinBox->setValue(reglages->portWeb());
    imposer(ui->portWebSpinBox, ui->portWebImposeLabel, imposees.webPort >= 0);
    ui->adresseWebComboBox->addItem(tr("Toutes les adresses"), QString());
    const auto locales = QNetworkInterface::allAddresses();
    for (const QHostAddress &adresse : locales)
        if (adresse.scopeId().isEmpty())
            ui->adresseWebComboBox->addItem(adresse.toString(), adresse.toString());
    int choix = ui->adresseWebComboBox->findData(parametres.webAdresse);
    if (choix < 0) { // an address this machine no longer has is kept as it was
        ui->adresseWebComboBox->addItem(parametres.webAdresse, parametres.webAdresse);
        choix = ui->adresseWebComboBox->count() - 1;
    }
    ui->adresseWebComboBox->setCurrentIndex(choix);

    ui->relaisLineEdit->setText(reglages->relais());
    imposer(ui->relaisLineEdit, ui->relaisImposeLabel, imposees.relaisDonne);
    ui->jetonLineEdit->setText(parametres.relaisJeton);
    ui->dureePageSpinBox->setValue(parametres.dureePage);
    ui->silenceSpinBox->setValue(parametres.silenceAlerte);

    QStringList illisibles;
    if (imposees.sourcesDonnees)
        for (const QHostAddress &adresse : imposees.sources)
            ajouterSource(texteAdresse(adresse));
    else
        for (const QString &source : std::as_const(parametres.sources))
            ajouterSource(source);
    adressesDepuis(parametres.sources, &illisibles);
    for (QWidget *champ : {static_cast<QWidget *>(ui->sourcesListWidget),
                           static_cast<QWidget *>(ui->ajouterSourcePushButton),
                           static_cast<QWidget *>(ui->retirerSourcePushButton),
                           static_cast<QWidget *>(ui->ajouterEmetteurPushButton)})
        imposer(champ, ui->sourcesImposeLabel, imposees.sourcesDonnees);
    signaler(ui->sourcesErreurLabel, illisibles.isEmpty() || imposees.sourcesDonnees
                                         ? QString()
                                         : tr("Illisibles dans le fichier de réglages : %1")
                                               .arg(illisibles.join(QStringLiteral(", "))));

    ui->enregistrementLineEdit->setText(reglages->enregistrement());
    imposer(ui->enregistrementLineEdit, ui->enregistrementImposeLabel,
            !imposees.enregistrement.isEmpty());
    ui->choisirEnregistrementPushButton->setEnabled(imposees.enregistrement.isEmpty());

    ui->titreAfficheLineEdit->setText(parametres.afficheTitre);
    ui->titreAfficheLineEdit->setPlaceholderText(
        titreCoupe.isEmpty() ? QStringLiteral("Vellor's Cup") : titreCoupe);
    ui->wifiLineEdit->setText(parametres.afficheWifi);
    ui->adresseAfficheComboBox->addItems(diffusion->adressesPage());
    for (QLabel *erreur : {ui->portWebErreurLabel, ui->relaisErreurLabel,
                           ui->enregistrementErreurLabel, ui->afficheEtatLabel})
        signaler(erreur, QString());
}

void DialogueReglages::ajouterSource(const QString &texte)
{
    auto *element = new QListWidgetItem(texte, ui->sourcesListWidget);
    element->setFlags(element->flags() | Qt::ItemIsEditable);
    ui->sourcesListWidget->setCurrentItem(element);
}

void DialogueReglages::ajouterEmetteurSlot()
{
    const EtatFlux etat = reseau->etatFlux();
    if (etat.msDepuisDerniere < 0) {
        signaler(ui->sourcesErreurLabel, tr("Aucune trame reçue : pas d'émetteur à ajouter"));
        return;
    }
    const QString adresse = texteAdresse(etat.source);
    if (ui->sourcesListWidget->findItems(adresse, Qt::MatchExactly).isEmpty())
        ajouterSource(adresse);
}

void DialogueReglages::choisirEnregistrementSlot()
{
    const QString chemin = QFileDialog::getSaveFileName(
        this, tr("Enregistrer les trames dans"), parametres.repertoireDonnees,
        tr("Trames (*.txt);;Tous les fichiers (*)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chemin.isEmpty())
        ui->enregistrementLineEdit->setText(chemin);
}

bool DialogueReglages::lire(Parametres &copie)
{
    bool valide = true;
    copie.webAdresse = ui->adresseWebComboBox->currentData().toString();
    if (ui->portWebSpinBox->isEnabled())
        copie.webPort = ui->portWebSpinBox->value();

    if (ui->relaisLineEdit->isEnabled()) {
        copie.relais = ui->relaisLineEdit->text().trimmed();
        valide &= signaler(ui->relaisErreurLabel,
                           copie.relais.isEmpty() || !Relais::adresseDepuis(copie.relais).isEmpty()
                               ? QString()
                               : tr("Une adresse http:// ou https:// est attendue"));
    }
    copie.relaisJeton = ui->jetonLineEdit->text().trimmed();
    copie.dureePage = ui->dureePageSpinBox->value();
    copie.silenceAlerte = ui->silenceSpinBox->value();

    if (ui->sourcesListWidget->isEnabled()) {
        copie.sources.clear();
        for (int i = 0; i < ui->sourcesListWidget->count(); ++i) {
            const QString texte = ui->sourcesListWidget->item(i)->text().trimmed();
            if (!texte.isEmpty())
                copie.sources << texte;
        }
        QStringList illisibles;
        adressesDepuis(copie.sources, &illisibles);
        valide &= signaler(
            ui->sourcesErreurLabel,
            illisibles.isEmpty()
                ? QString()
                : tr("Pas une adresse IP : %1").arg(illisibles.join(QStringLiteral(", "))));
    }
    if (ui->enregistrementLineEdit->isEnabled()) {
        copie.enregistrement = ui->enregistrementLineEdit->text().trimmed();
        QString erreur;
        Journal essai;
        if (!copie.enregistrement.isEmpty() && copie.enregistrement != parametres.enregistrement &&
            !essai.ouvrir(copie.enregistrement, &erreur))
            valide &= signaler(ui->enregistrementErreurLabel, erreur);
        else
            signaler(ui->enregistrementErreurLabel, QString());
    }
    copie.afficheTitre = ui->titreAfficheLineEdit->text().trimmed();
    copie.afficheWifi = ui->wifiLineEdit->text().trimmed();
    return valide;
}

bool DialogueReglages::appliquer()
{
    Parametres copie = parametres;
    if (!lire(copie))
        return false;
    // The page moves first: a port found taken leaves the old page and writes nothing.
    QString erreur;
    const int port = ui->portWebSpinBox->isEnabled() ? copie.webPort : reglages->portWeb();
    if (!signaler(ui->portWebErreurLabel,
                  diffusion->ouvrirPage(port, copie.webAdresse, &erreur) ? QString() : erreur))
        return false;
    reglages->appliquer(copie);
    return true;
}

QString DialogueReglages::titreAffiche() const
{
    const QString titre = ui->titreAfficheLineEdit->text().trimmed();
    return titre.isEmpty() ? ui->titreAfficheLineEdit->placeholderText() : titre;
}

void DialogueReglages::afficheSlot()
{
    const QString relais = Relais::adresseDepuis(ui->relaisLineEdit->text()).isEmpty()
                               ? QString()
                               : ui->relaisLineEdit->text();
    const QString adresse = adresseAffiche(relais, ui->adresseAfficheComboBox->currentText());
    if (adresse.isEmpty()) {
        signaler(ui->afficheEtatLabel,
                 tr("Aucune adresse à donner : ouvrez la page des résultats ou donnez un relais."));
        return;
    }
    const QString chemin = QFileDialog::getSaveFileName(
        this, tr("Affiche pour les spectateurs"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
            QStringLiteral("/affiche.pdf"),
        tr("PDF (*.pdf)"));
    if (chemin.isEmpty())
        return;
    QString erreur;
    const bool ecrite = ecrireAffiche(
        chemin, {titreAffiche(), adresse, ui->wifiLineEdit->text().trimmed()}, &erreur);
    signaler(ui->afficheEtatLabel,
             ecrite ? tr("Affiche écrite : %1").arg(QDir::toNativeSeparators(chemin))
                    : tr("Affiche impossible : %1").arg(erreur));
}
