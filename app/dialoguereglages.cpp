#include "app/dialoguereglages.h"
#include "ui_dialoguereglages.h"

#include "app/affiche.h"
#include "app/station.h"
#include "core/donnees.h"
#include "network/etatflux.h"
#include "network/regles.h"
#include "network/reseau.h"

#include <QFileDialog>
#include <QNetworkInterface>
#include <QPushButton>
#include <QStandardPaths>

namespace
{
// A reason beside its field, or nothing; true when nothing.
bool signaler(QLabel *etiquette, const QString &raison)
{
    if (!etiquette)
        return raison.isEmpty();
    etiquette->setText(raison);
    etiquette->setVisible(!raison.isEmpty());
    return raison.isEmpty();
}

// What an editor shows, as the record holds it.
void montrer(QWidget *editeur, const QVariant &valeur)
{
    if (auto *nombre = qobject_cast<QSpinBox *>(editeur)) {
        nombre->setValue(valeur.toInt());
    } else if (auto *texte = qobject_cast<QLineEdit *>(editeur)) {
        texte->setText(valeur.toString());
    } else if (auto *choix = qobject_cast<QComboBox *>(editeur)) {
        int index = choix->findData(valeur.toString());
        if (index < 0) { // a value no longer offered is kept as it was
            choix->addItem(valeur.toString(), valeur.toString());
            index = choix->count() - 1;
        }
        choix->setCurrentIndex(index);
    }
}

// What an editor gives, for the row's reading rule.
QVariant valeur(const QWidget *editeur)
{
    if (const auto *nombre = qobject_cast<const QSpinBox *>(editeur))
        return QString::number(nombre->value());
    if (const auto *texte = qobject_cast<const QLineEdit *>(editeur))
        return texte->text();
    if (const auto *choix = qobject_cast<const QComboBox *>(editeur))
        return choix->currentData().toString();
    QStringList lignes;
    if (const auto *liste = qobject_cast<const QListWidget *>(editeur))
        for (int i = 0; i < liste->count(); ++i)
            lignes << liste->item(i)->text();
    return lignes;
}
} // namespace

QString refusSaisie(const Reglage &r, const Parametres &valeurs, bool lu)
{
    const QVariant v = valeurDe(r, valeurs);
    switch (r.forme) {
    case Reglage::AdresseRelais:
        if (!lu && !v.toString().isEmpty() && adresseRelais(v.toString()).isEmpty())
            return QCoreApplication::translate("DialogueReglages",
                                               "Une adresse http:// ou https:// est attendue");
        break;
    case Reglage::Adresses: {
        QStringList invalides;
        adressesDepuis(v.toStringList(), &invalides);
        if (!invalides.isEmpty())
            return QCoreApplication::translate("DialogueReglages",
                                               lu ? "Illisibles dans le fichier de réglages : %1"
                                                  : "Pas une adresse IP : %1")
                .arg(invalides.join(QStringLiteral(", ")));
        break;
    }
    default:
        break;
    }
    return QString();
}

DialogueReglages::DialogueReglages(Station *station, QWidget *parent)
    : QDialog(parent), ui(new Ui::DialogueReglages), station(station)
{
    ui->setupUi(this);
    const auto widgets = findChildren<QWidget *>();
    for (QWidget *w : widgets)
        if (w->property("reglage").isValid())
            champs.insert(w->property("reglage").toString(), w);
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

QWidget *DialogueReglages::editeur(const Reglage &r) const
{
    for (QWidget *w : champs.values(QLatin1String(r.nom)))
        if (!qobject_cast<QLabel *>(w) && !qobject_cast<QPushButton *>(w))
            return w;
    return nullptr;
}

QLabel *DialogueReglages::etiquette(const Reglage &r, const char *role) const
{
    for (QWidget *w : champs.values(QLatin1String(r.nom)))
        if (w->property("role").toString() == QLatin1String(role))
            return qobject_cast<QLabel *>(w);
    return nullptr;
}

// A field that the command line sets for this run is shown, not editable, not written.
void DialogueReglages::remplir()
{
    ui->adresseWebComboBox->addItem(tr("Toutes les adresses"), QString());
    const auto locales = QNetworkInterface::allAddresses();
    for (const QHostAddress &adresse : locales)
        if (adresse.scopeId().isEmpty())
            ui->adresseWebComboBox->addItem(adresse.toString(), adresse.toString());
    const Parametres effectifs = station->effectifs();
    for (int i = 0; i < nombreReglages; ++i) {
        const Reglage &r = reglages[i];
        QWidget *champ = editeur(r);
        if (!champ)
            continue;
        const bool impose = bool(station->surcharges()[i]);
        for (QWidget *w : champs.values(QLatin1String(r.nom)))
            if (!w->property("role").isValid())
                w->setEnabled(!impose);
        if (QLabel *imposeLabel = etiquette(r, "impose"))
            imposeLabel->setVisible(impose);
        if (auto *nombre = qobject_cast<QSpinBox *>(champ))
            nombre->setRange(r.min, r.max);
        const Parametres &valeurs = impose ? effectifs : parametres;
        if (r.forme == Reglage::Adresses)
            for (const QString &source : valeurDe(r, valeurs).toStringList())
                ajouterSource(source);
        else
            montrer(champ, valeurDe(r, valeurs));
        signaler(etiquette(r, "erreur"), impose ? QString() : refusSaisie(r, valeurs, true));
    }

    ui->titreAfficheLineEdit->setPlaceholderText(
        titreCoupe.isEmpty() ? QStringLiteral("Vellor's Cup") : titreCoupe);
    ui->adresseAfficheComboBox->addItems(station->adressesPage());
    signaler(ui->afficheEtatLabel, QString());
}

void DialogueReglages::ajouterSource(const QString &texte)
{
    auto *element = new QListWidgetItem(texte, ui->sourcesListWidget);
    element->setFlags(element->flags() | Qt::ItemIsEditable);
    ui->sourcesListWidget->setCurrentItem(element);
}

void DialogueReglages::ajouterEmetteurSlot()
{
    const EtatFlux etat = station->reseau()->etatFlux();
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
    copie = parametres;
    bool valide = true;
    for (const Reglage &r : reglages) {
        QWidget *champ = editeur(r);
        if (!champ || !champ->isEnabled())
            continue;
        lireValeur(r, copie, valeur(champ));
        valide &= signaler(etiquette(r, "erreur"), refusSaisie(r, copie));
    }
    return valide;
}

bool DialogueReglages::appliquer()
{
    Parametres copie;
    if (!lire(copie))
        return false;
    const QHash<const Reglage *, QString> refus = station->appliquer(copie);
    for (auto raison = refus.cbegin(); raison != refus.cend(); ++raison)
        signaler(etiquette(*raison.key(), "erreur"), raison.value());
    return refus.isEmpty();
}

QString DialogueReglages::titreAffiche() const
{
    const QString titre = ui->titreAfficheLineEdit->text().trimmed();
    return titre.isEmpty() ? ui->titreAfficheLineEdit->placeholderText() : titre;
}

void DialogueReglages::afficheSlot()
{
    const QString relais = adresseRelais(ui->relaisLineEdit->text()).isEmpty()
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
