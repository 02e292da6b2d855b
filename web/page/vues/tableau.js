// The scoreboard of the event in flight, drawn as the overlay draws it.
import { liste, epreuveEnCours, nomEpreuve, tableau } from '../commun.js';
import { t } from '../langue.js';

export default {
  cle: 'tableau', id: 'vue-tableau', onglet: t('tableau.onglet'), titre: t('tableau.titre'), chrono: true,
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat) { return [epreuveEnCours(etat), etat.tableauEpreuve]; },
  construire: function (etat) { return tableau(epreuveEnCours(etat), liste(etat.tableauEpreuve)); },
};
