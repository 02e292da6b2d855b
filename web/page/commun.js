// What the results page and the stream overlays share: reading the station's state, building
// the DOM from it (createElement and textContent only: everything received is data) and the
// connection to the station's event stream.
import { t } from './langue.js';

// The names the projector windows give the five events, used when the state names none.
const NOMS_EPREUVES = ['Jugement esthétique', 'Cassé de baguettes', 'Pylône racing',
  'Chasse au renard', 'Limbo'];
const DELAI_RECREATION_MS = 4000; // after the stream gives up for good

// ---- Reading the state defensively: anything missing or of the wrong type is empty. ----

export function liste(v) { return Array.isArray(v) ? v : []; }
export function objet(v) { return v !== null && typeof v === 'object' && !Array.isArray(v) ? v : {}; }
export function texte(v) {
  if (typeof v === 'string') return v;
  if (typeof v === 'number' && Number.isFinite(v)) return String(v);
  return '';
}
export function index(v) { return Number.isInteger(v) ? v : -1; }
export function nomPilote(p) { return texte(p.nom1) + ' ' + texte(p.nom2); }

// The event whose series are in flight, or -1 when the state names none of the five.
export function epreuveEnCours(etat) {
  const e = index(etat.epreuveEnCours);
  return e >= 0 && e < NOMS_EPREUVES.length ? e : -1;
}
export function nomEpreuve(etat, e) {
  if (e < 0) return '';
  return texte(objet(liste(etat.epreuves)[e]).nom) || NOMS_EPREUVES[e];
}
export function seriesEnCours(etat) {
  const e = epreuveEnCours(etat);
  return e < 0 ? [] : liste(objet(liste(etat.epreuves)[e]).series).map(objet);
}
// The badge never shows "ex aequo": equal ranks already say it; its title does, in the page's
// language.
export function rangCourt(rang) { return texte(rang).split('ex aequo').join('').trim(); }
export function rangLong(rang) {
  return texte(rang).includes('ex aequo') ? t('rang.exAequo', { rang: rangCourt(rang) }) : rangCourt(rang);
}

// ---- Small DOM helpers. ----

export function el(balise, classe, contenu) {
  const n = document.createElement(balise);
  if (classe) n.className = classe;
  if (contenu !== undefined) n.textContent = contenu;
  return n;
}
export function vide(message) { return el('p', 'vide', message); }
export function poserTexte(n, t) { if (n && n.textContent !== t) n.textContent = t; }

// A table with a header row; entetes holds, per column, its class and its lines of text.
export function table(classe, entetes, legende) {
  const n = el('table', 'table ' + classe);
  if (legende) n.append(el('caption', 'lecteur', legende));
  const groupe = el('colgroup');
  const ligne = el('tr');
  for (const c of entetes) {
    groupe.append(el('col', 'col-' + c.classe));
    const th = el('th', 'col-' + c.classe);
    th.scope = 'col';
    c.lignes.forEach(function (l, i) {
      if (i > 0) th.append(el('br'));
      th.append(l);
    });
    ligne.append(th);
  }
  const tete = el('thead');
  tete.append(ligne);
  const corps = el('tbody');
  n.append(groupe, tete, corps);
  return { table: n, corps: corps };
}
export function cellule(classe, contenu) { return el('td', classe, contenu); }

export function chrono(etat) {
  const f = document.createDocumentFragment();
  const ecoule = el('span', 'temps', texte(etat.tempsEcoule) || '00:00');
  ecoule.title = t('chrono.ecoule');
  const restant = el('span', 'temps', texte(etat.tempsRestant) || '00:00');
  restant.title = t('chrono.restant');
  f.append(ecoule, restant);
  return f;
}

// A pilot's line in a series, wherever it shows: number, then name, coloured by the result
// once the series has its results (said to a screen reader too). `arrivee` marks a result
// that just arrived; `points` adds the pilot's points to a result.
export function lignePilote(p, avecResultats, { classe = 'ligne-pilote', arrivee = '', points = false } = {}) {
  const numero = texte(p.numero);
  const li = el('li', classe);
  li.dataset.numero = numero;
  const nom = el('span', 'nom', nomPilote(p));
  if (avecResultats) nom.classList.add(p.reussi === true ? 'reussi' : 'echoue');
  if (arrivee) {
    nom.classList.add('arrive');
    nom.dataset.arrivee = arrivee;
  }
  li.append(el('span', 'numero', numero), nom);
  if (avecResultats) li.append(el('span', 'lecteur', t(p.reussi === true ? 'pilote.reussi' : 'pilote.echoue')));
  if (avecResultats && points) li.append(el('span', 'points', t('pilote.points', { points: texte(p.points) })));
  return li;
}

// ---- The scoreboard, on the page and as an overlay. ----

// A value of exactly "0" is a score not yet flown: the scoreboard leaves it blank.
function sansZero(v) { const valeur = texte(v); return valeur === '0' ? '' : valeur; }

// The scoreboard's fifth column depends on the event; the first event has no scoreboard.
const COLONNES_EPREUVE = [
  null,
  { lignes: 'tableau.baguettes', valeur: function (l) { return sansZero(l.baguettes); } },
  { lignes: 'tableau.pylones', valeur: function (l) { return sansZero(l.pylones); } },
  { lignes: 'tableau.banderoles', valeur: function (l) { return sansZero(l.banderoles); } },
  { lignes: 'tableau.limbo', valeur: function (l) {
    const limbo = texte(l.limbo);
    const looping = texte(l.looping);
    return limbo === '0' && looping === '0' ? '' : limbo + ' / ' + looping;
  } }];
const LIGNES_TABLEAU = 10;

export function tableau(e, lignes) {
  const f = document.createDocumentFragment();
  if (e < 0) {
    f.append(vide(t('tableau.aucuneEpreuve')));
    return f;
  }
  const colonne = COLONNES_EPREUVE[e];
  if (!colonne) {
    f.append(vide(t('tableau.aucun')));
    return f;
  }
  const lignesDe = function (cle) { return t(cle).split('\n'); };
  const grille = table('tableau', [
    { classe: 'position', lignes: lignesDe('colonne.position') },
    { classe: 'pilote', lignes: lignesDe('colonne.pilote') },
    { classe: 'numero', lignes: lignesDe('tableau.numero') },
    { classe: 'touch', lignes: lignesDe('tableau.touch') },
    { classe: 'epreuve', lignes: lignesDe(colonne.lignes) },
    { classe: 'total', lignes: lignesDe('tableau.total') }], t('tableau.legende'));
  // Always ten ranks, like the board on the projector, whatever the number of rows.
  for (let k = 0; k < LIGNES_TABLEAU; k++) {
    const tr = el('tr');
    tr.append(cellule('position', String(k + 1)));
    if (k < lignes.length) {
      const l = objet(lignes[k]);
      tr.dataset.numero = texte(l.numero);
      const nom = cellule('pilote', nomPilote(l));
      nom.title = nomPilote(l);
      const drapeau = texte(l.drapeauNumero) === '1' ? ' vole' : ' attend';
      tr.append(nom, cellule('numero' + drapeau, texte(l.numero)),
        cellule('touch', sansZero(l.touchAndGo)), cellule('epreuve', colonne.valeur(l)),
        cellule('total', sansZero(l.total)));
    } else {
      tr.append(cellule('pilote'), cellule('numero'), cellule('touch'), cellule('epreuve'),
        cellule('total'));
    }
    grille.corps.append(tr);
  }
  f.append(grille.table);
  return f;
}

// ---- The station's event stream. ----

// Calls surEtat(etat) with each state received (the current one first) and surConnexion()
// whenever `connexion.ouvert`, `connexion.erreur` or `connexion.donnees` change. The stream
// reopens by itself. `connexion.donnees` is when the data was current on this page's
// performance.now() clock (null before data): the state's own age, plus how long it waited
// at the server, read from the server's clock alone (Date and Last-Modified of etat.json),
// so that a phone that comes late, or whose clock is wrong, still reads the true age.
export function connecter(surEtat, surConnexion) {
  const connexion = { ouvert: false, erreur: false, donnees: null };
  let dejaOuvert = false;
  let receptions = 0; // stream events received; a slower fetch must not undo them
  let dernier = null; // the text of the last state given
  let premierEvenement = false; // the next stream event is the state the server stored
  let source = null;
  let relance = null;

  // `attente`: ms the state waited at the server, 0 when it comes as it is written.
  // `stocke`: the state may be the one already shown, given again as the server stored it
  // (a fetch, or the first event of a stream): then only its age may improve. `ageSeulement`:
  // a fetch the stream overtook.
  function recevoir(json, attente, stocke, ageSeulement) {
    let etat;
    try { etat = JSON.parse(json); } catch (err) { return; }
    if (etat === null || typeof etat !== 'object' || Array.isArray(etat)) return;
    const d = etat.depuisTrameMs;
    const donnees = typeof d === 'number' && Number.isFinite(d) && d >= 0
      ? performance.now() - attente - d : null;
    if (stocke && json === dernier) {
      if (donnees !== null && donnees < connexion.donnees) {
        connexion.donnees = donnees;
        surConnexion();
      }
      return;
    }
    if (ageSeulement) return;
    dernier = json;
    connexion.donnees = donnees;
    surEtat(etat);
  }

  function attenteAuServeur(r) {
    const attente = Date.parse(r.headers.get('Date')) - Date.parse(r.headers.get('Last-Modified'));
    return Number.isFinite(attente) ? Math.max(0, attente) : 0;
  }

  function chargerEtat() {
    const avant = receptions;
    fetch('etat.json', { cache: 'no-store' })
      .then(function (r) {
        return r.ok ? r.text().then(function (t) { return { t: t, attente: attenteAuServeur(r) }; }) : null;
      })
      .then(function (x) { if (x !== null) recevoir(x.t, x.attente, true, receptions !== avant); })
      .catch(function () { /* the stream will bring the state */ });
  }

  function ouvrirFlux() {
    clearTimeout(relance);
    if (source) source.close();
    const s = new EventSource('evenements');
    source = s;
    s.addEventListener('open', function () {
      if (s !== source) return;
      connexion.ouvert = true;
      connexion.erreur = false;
      premierEvenement = true;
      // After a station restart or a Wi-Fi drop, catch up without waiting for a change.
      if (dejaOuvert) chargerEtat();
      dejaOuvert = true;
      surConnexion();
    });
    s.addEventListener('etat', function (ev) {
      if (s !== source) return;
      recevoir(ev.data, 0, premierEvenement, false);
      premierEvenement = false;
      receptions++;
    });
    s.addEventListener('error', function () {
      if (s !== source) return;
      connexion.ouvert = false;
      connexion.erreur = true;
      surConnexion();
      // While CONNECTING the browser retries by itself; CLOSED means it gave up.
      if (s.readyState === EventSource.CLOSED) relance = setTimeout(ouvrirFlux, DELAI_RECREATION_MS);
    });
  }

  function relancerSiFerme() {
    if (!source || source.readyState === EventSource.CLOSED) ouvrirFlux();
  }

  chargerEtat();
  ouvrirFlux();
  // A phone that slept or changed network may hold a stream that gave up.
  document.addEventListener('visibilitychange', function () {
    if (!document.hidden) relancerSiFerme();
  });
  window.addEventListener('online', relancerSiFerme);
  return connexion;
}
