// The announcer's view, for a tablet held in landscape beside the flight line: the series in
// flight and the next one with what is at stake for each pilot, the series just flown, the
// cup's leaders and the gaps between them. Only what the station sends: a fact it does not
// send stays blank. The screen stays awake while the view shows, where the browser allows it.
import { liste, objet, texte, index, el, vide, table, cellule, nomPilote, rangCourt, epreuveEnCours,
  nomEpreuve, seriesEnCours } from '../commun.js';
import { caseMouvement } from '../changements.js';
import { t, ordinal } from '../langue.js';

const LEADERS = 5;

// Where each pilot stands, as the station ranks him: his cup row, his position in the event.
function positions(etat) {
  const coupe = new Map();
  const epreuve = new Map();
  liste(etat.classementCoupe).map(objet).forEach(function (l) {
    if (texte(l.numero) && !coupe.has(texte(l.numero))) coupe.set(texte(l.numero), l);
  });
  liste(etat.classementEpreuve).map(objet).forEach(function (l, i) {
    if (texte(l.numero) && !epreuve.has(texte(l.numero))) epreuve.set(texte(l.numero), i + 1);
  });
  return { coupe, epreuve };
}

// "3e", "5e ex aequo": a rank as the announcer reads it.
function rangDit(rang) {
  const court = ordinal(rangCourt(rang));
  return texte(rang).includes('ex aequo') ? t('rang.exAequo', { rang: court }) : court;
}

function cellulePilote(p) {
  const td = cellule('pilote');
  td.append(el('span', 'nom', nomPilote(p)));
  if (texte(p.club)) td.append(el('span', 'club', texte(p.club)));
  return td;
}

// A series' pilots with their standing; with `resultats`, who succeeded and who moved in the
// cup instead of the points and the event.
function tableSerie(pilotes, etat, legende, resultats) {
  const ou = positions(etat);
  const colonnes = resultats ? ['numero', 'pilote', 'resultat', 'coupe'] : ['numero', 'pilote', 'coupe', 'points', 'epreuve'];
  const titres = { numero: t('colonne.numero'), pilote: t('colonne.pilote'), resultat: t('annonceur.resultat'),
    coupe: t('annonceur.coupe'), points: t('colonne.points'), epreuve: t('annonceur.epreuve') };
  const grille = table('annonce', colonnes.map(function (c) { return { classe: c, lignes: [titres[c]] }; }), legende);
  for (const p of pilotes.map(objet)) {
    const numero = texte(p.numero);
    const coupe = objet(ou.coupe.get(numero));
    const tr = el('tr');
    tr.dataset.numero = numero;
    tr.append(cellule('numero', numero), cellulePilote(p));
    if (resultats) {
      const reussi = p.reussi === true;
      tr.append(cellule('resultat ' + (reussi ? 'reussi' : 'echoue'), t(reussi ? 'annonceur.reussi' : 'annonceur.echoue')));
    }
    const rang = cellule('coupe', ou.coupe.has(numero) ? rangDit(coupe.rang) : '');
    if (resultats) rang.append(caseMouvement('coupe:' + numero));
    const position = ou.epreuve.get(numero);
    tr.append(rang);
    if (!resultats) tr.append(cellule('points', texte(coupe.points)), cellule('epreuve', position ? ordinal(position) : ''));
    grille.corps.append(tr);
  }
  return grille.table;
}

function bloc(classe, titre, contenu) {
  const b = el('section', 'bloc-annonce ' + classe);
  b.append(el('h3', 'titre-bloc', titre), contenu);
  return b;
}

function enVol(etat) {
  const series = seriesEnCours(etat);
  const k = index(etat.serieCourante);
  if (k < 0 || k >= series.length) return bloc('en-vol', t('annonceur.enVol'), vide(t('annonceur.aucuneEnVol')));
  const titre = t('series.serie', { n: k + 1 }) + ' · ' + t(etat.serieDrapeau === true ? 'annonceur.enVol' : 'annonceur.appelee');
  return bloc('en-vol', titre, tableSerie(liste(series[k].pilotes), etat, titre, false));
}

function prochaine(etat) {
  const prep = objet(etat.preparation);
  const pilotes = prep.trouvee === false ? [] : liste(prep.pilotes);
  const b = bloc('prochaine', t('annonceur.prochaine'),
    pilotes.length ? tableSerie(pilotes, etat, t('annonceur.prochaine'), false) : vide(t('preparation.aucun')));
  // The contest software's own title, as it sent it.
  if (pilotes.length && texte(prep.titre)) b.querySelector('h3').after(el('p', 'sous-titre-bloc', texte(prep.titre)));
  return b;
}

// The last series of the event in flight that has its results.
function precedente(etat) {
  const series = seriesEnCours(etat);
  let k = series.length - 1;
  while (k >= 0 && series[k].avecResultats !== true) k--;
  if (k < 0) return bloc('precedente', t('annonceur.precedente'), vide(t('annonceur.aucunePrecedente')));
  const titre = t('annonceur.precedente') + ' · ' + t('series.serie', { n: k + 1 });
  return bloc('precedente', titre, tableSerie(liste(series[k].pilotes), etat, titre, true));
}

// The cup's first places, each with the points it stands behind the place above.
function leaders(etat) {
  const lignes = liste(etat.classementCoupe).slice(0, LEADERS).map(objet);
  if (lignes.length === 0) return bloc('leaders', t('annonceur.tete'), vide(t('classement.aucun')));
  const grille = table('annonce', ['rang', 'pilote', 'points', 'ecart'].map(function (c) {
    return { classe: c, lignes: [c === 'ecart' ? t('annonceur.ecart') : t('colonne.' + c)] };
  }), t('annonceur.tete'));
  lignes.forEach(function (l, i) {
    const tr = el('tr');
    tr.dataset.numero = texte(l.numero);
    const rang = cellule('rang', rangDit(l.rang));
    rang.append(caseMouvement('coupe:' + texte(l.numero)));
    const [avant, ici] = [Number(texte(objet(lignes[i - 1]).points) || NaN), Number(texte(l.points) || NaN)];
    const ecart = Math.round((avant - ici) * 100) / 100;
    let dit = '';
    // A place above with fewer points (ranked by another rule) has no gap to tell.
    if (i > 0 && ecart >= 0) dit = ecart === 0 ? t('rang.egalite') : t('annonceur.derriere', { n: ecart });
    const pilote = cellulePilote({ ...l, club: '' });
    pilote.prepend(el('span', 'numero-leader', texte(l.numero)), ' ');
    tr.append(rang, pilote, cellule('points', texte(l.points)), cellule('ecart', dit));
    grille.corps.append(tr);
  });
  return bloc('leaders', t('annonceur.tete'), grille.table);
}

function construire(etat) {
  const grille = el('div', 'annonceur');
  const gauche = el('div', 'colonne-annonce');
  const droite = el('div', 'colonne-annonce');
  gauche.append(enVol(etat), prochaine(etat));
  droite.append(precedente(etat), leaders(etat));
  grille.append(gauche, droite);
  const f = document.createDocumentFragment();
  f.append(epreuveEnCours(etat) < 0 && liste(etat.classementCoupe).length === 0 ? vide(t('tableau.aucuneEpreuve')) : grille);
  return f;
}

// ---- The screen kept awake while the view shows: asked again when the page comes back into
// sight (the browser lets it go when hidden), never insisted on once refused. ----

const veille = { verrou: null, enCours: false, refusee: false };

function veiller() {
  const montree = !document.hidden && document.getElementById('vue-annonceur').classList.contains('choisie');
  if (!montree && veille.verrou) {
    veille.verrou.release().catch(function () { /* already let go */ });
    veille.verrou = null;
  }
  if (!montree || veille.verrou || veille.enCours || veille.refusee || !('wakeLock' in navigator)) return;
  veille.enCours = true;
  navigator.wakeLock.request('screen').then(function (v) {
    veille.verrou = v;
    v.addEventListener('release', function () { if (veille.verrou === v) veille.verrou = null; });
  }).catch(function () {
    veille.refusee = true; // power saving, a policy: the screen may sleep, the view goes on
  }).finally(function () {
    veille.enCours = false;
    veiller();
  });
}

function preparer() {
  // After the tabs have taken the change in: they listen after this view.
  const relancer = function () {
    veille.refusee = false;
    setTimeout(veiller);
  };
  document.addEventListener('visibilitychange', relancer);
  window.addEventListener('hashchange', relancer);
}

export default {
  cle: 'annonceur', id: 'vue-annonceur', onglet: t('annonceur.onglet'), titre: t('annonceur.titre'), chrono: true,
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat) {
    return [epreuveEnCours(etat), seriesEnCours(etat), etat.serieCourante, etat.serieDrapeau, etat.preparation,
      etat.classementCoupe, etat.classementEpreuve];
  },
  construire,
  preparer,
  apres: veiller,
};
