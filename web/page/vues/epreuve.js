// The classification of the event in flight, with who moved in it.
import { liste, vide, epreuveEnCours, nomEpreuve } from '../commun.js';
import { tableClassement } from '../classements.js';
import { t } from '../langue.js';

function construire(etat) {
  const lignes = liste(etat.classementEpreuve);
  const f = document.createDocumentFragment();
  f.append(lignes.length === 0 ? vide(t('classement.aucun')) : tableClassement(lignes, t('epreuve.legende'), true));
  return f;
}

export default {
  cle: 'epreuve', id: 'vue-classement-epreuve', onglet: t('epreuve.onglet'), titre: t('epreuve.titre'),
  classeTitre: 'titre-vert',
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat) { return [etat.classementEpreuve]; },
  construire,
};
