// The classification of the event in flight, with who moved in it.
import { liste, vide, epreuveEnCours, nomEpreuve } from '../commun.js';
import { tableClassement } from '../classements.js';

const TEXTES = {
  onglet: 'Épreuve', titre: 'Classement final de l\'épreuve', aucun: 'Aucun classement',
  legende: 'Classement de l\'épreuve',
};

function construire(etat) {
  const lignes = liste(etat.classementEpreuve);
  const f = document.createDocumentFragment();
  f.append(lignes.length === 0 ? vide(TEXTES.aucun) : tableClassement(lignes, TEXTES.legende, true));
  return f;
}

export default {
  cle: 'epreuve', id: 'vue-classement-epreuve', onglet: TEXTES.onglet, titre: TEXTES.titre, classeTitre: 'titre-vert',
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat) { return [etat.classementEpreuve]; },
  construire,
};
