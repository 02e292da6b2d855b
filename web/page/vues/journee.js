// The day: every event that holds series, its classification and its series' results; on a
// phone one event at a time, the one chosen here, else the one in flight, else the last run.
import { liste, objet, el, vide, lignePilote, epreuveEnCours, nomEpreuve } from '../commun.js';
import { seriesDe, epreuvesTenues, classementDe } from '../epreuves.js';
import { tableClassement } from '../classements.js';
import { lire, ecrire } from '../stockage.js';
import { t } from '../langue.js';

const CLE_EPREUVE = 'vellor.epreuve'; // the event shown on a phone, kept like the tab
let dernier = {}; // the state shown, for a choice made between two

function construire(etat) {
  const f = document.createDocumentFragment();
  const tenues = epreuvesTenues(etat);
  if (tenues.length === 0) {
    f.append(vide(t('journee.aucune')));
    return f;
  }
  const enCours = epreuveEnCours(etat);
  const grille = el('div', 'journee');
  for (const e of tenues) {
    const nom = nomEpreuve(etat, e);
    const carte = el('article', e === enCours ? 'epreuve-journee en-cours' : 'epreuve-journee');
    carte.dataset.epreuve = String(e);
    const titre = el('h3', 'titre-epreuve', nom);
    if (e === enCours) {
      carte.setAttribute('aria-current', 'true');
      titre.append(' ', el('span', 'marque-en-cours', t('journee.enCours')));
    }
    carte.append(titre);
    const lignes = classementDe(etat, e);
    carte.append(lignes.length ? tableClassement(lignes, t('journee.classement', { nom }), false, nom)
      : vide(t('classement.aucun')));
    const series = el('div', 'series-journee');
    seriesDe(etat, e).forEach(function (s, k) {
      const bloc = el('section', 'serie-journee');
      const avecResultats = s.avecResultats === true;
      const ul = el('ul', 'pilotes');
      for (const p of liste(s.pilotes)) ul.append(lignePilote(objet(p), avecResultats, { points: true }));
      bloc.append(el('h4', 'titre-serie', t(avecResultats ? 'series.serie' : 'journee.sansResultats', { n: k + 1 })), ul);
      series.append(bloc);
    });
    carte.append(series);
    grille.append(carte);
  }
  f.append(grille);
  return f;
}

function montrerEpreuve(etat) {
  dernier = etat;
  const tenues = epreuvesTenues(etat);
  const enCours = epreuveEnCours(etat);
  const gardee = parseInt(lire(CLE_EPREUVE), 10);
  const montree = tenues.includes(gardee) ? gardee : tenues.includes(enCours) ? enCours : tenues[tenues.length - 1];
  const choix = document.getElementById('choix-epreuve');
  const cle = JSON.stringify([tenues.map(function (e) { return nomEpreuve(etat, e); }), tenues, enCours]);
  if (choix.dataset.cle !== cle) {
    choix.dataset.cle = cle;
    choix.replaceChildren(...tenues.map(function (e) {
      const o = el('option', '', e === enCours ? t('journee.optionEnCours', { nom: nomEpreuve(etat, e) }) : nomEpreuve(etat, e));
      o.value = String(e);
      return o;
    }));
  }
  choix.parentElement.hidden = tenues.length < 2;
  if (montree !== undefined) choix.value = String(montree);
  for (const c of document.querySelectorAll('.epreuve-journee'))
    c.classList.toggle('choisie', c.dataset.epreuve === String(montree));
}

// The choice of event, above the content.
function preparer(section) {
  const bloc = el('div', 'choix-epreuve');
  bloc.hidden = true;
  const etiquette = el('label', '', t('journee.choix'));
  etiquette.htmlFor = 'choix-epreuve';
  const choix = el('select');
  choix.id = 'choix-epreuve';
  choix.addEventListener('change', function () {
    ecrire(CLE_EPREUVE, choix.value);
    montrerEpreuve(dernier);
  });
  bloc.append(etiquette, choix);
  section.querySelector('[data-role="contenu"]').before(bloc);
}

export default {
  cle: 'journee', id: 'vue-journee', onglet: t('journee.onglet'), titre: t('journee.titre'), preparer,
  entrees: function (etat) { return [epreuveEnCours(etat), etat.epreuves, etat.classementEpreuve]; },
  construire,
  apres: montrerEpreuve,
};
