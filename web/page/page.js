// Live page of the display station: shows the five views of the projectors on a phone.
// Everything received is data: the DOM is built with createElement and textContent only.
'use strict';

(function () {
  // The names the projector windows give the five events, used when the state names none.
  const NOMS_EPREUVES = ['Jugement esthétique', 'Cassé de baguettes', 'Pylône racing',
    'Chasse au renard', 'Limbo'];
  const TITRE_FIXE = "Vellor's Cup";
  const DELAI_RECREATION_MS = 4000; // after the stream gives up for good
  const AGE_ANCIEN_MS = 30000;      // beyond this the status line turns yellow
  const PERIODE_TITRE_MS = 30000;   // the cup title alternates like on the projector

  // ---- Reading the state defensively: anything missing or of the wrong type is empty. ----

  function liste(v) { return Array.isArray(v) ? v : []; }
  function objet(v) { return v !== null && typeof v === 'object' && !Array.isArray(v) ? v : {}; }
  function texte(v) {
    if (typeof v === 'string') return v;
    if (typeof v === 'number' && Number.isFinite(v)) return String(v);
    return '';
  }
  function index(v) { return Number.isInteger(v) ? v : -1; }
  function nomPilote(p) { return texte(p.nom1) + ' ' + texte(p.nom2); }

  // The event whose series are in flight, or -1 when the state names none of the five.
  function epreuveEnCours(etat) {
    const e = index(etat.epreuveEnCours);
    return e >= 0 && e < NOMS_EPREUVES.length ? e : -1;
  }
  function nomEpreuve(etat, e) {
    if (e < 0) return '';
    return texte(objet(liste(etat.epreuves)[e]).nom) || NOMS_EPREUVES[e];
  }

  // ---- Small DOM helpers. ----

  function el(balise, classe, contenu) {
    const n = document.createElement(balise);
    if (classe) n.className = classe;
    if (contenu !== undefined) n.textContent = contenu;
    return n;
  }
  function vide(message) { return el('p', 'vide', message); }

  // A table with a header row; entetes holds, per column, its class and its lines of text.
  function table(classe, entetes) {
    const t = el('table', 'table ' + classe);
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
    t.append(groupe, tete, corps);
    return { table: t, corps: corps };
  }
  function cellule(classe, contenu) { return el('td', classe, contenu); }

  function chrono(etat) {
    const f = document.createDocumentFragment();
    const ecoule = el('span', 'temps', texte(etat.tempsEcoule) || '00:00');
    ecoule.title = 'Temps écoulé';
    const restant = el('span', 'temps', texte(etat.tempsRestant) || '00:00');
    restant.title = 'Temps restant';
    f.append(ecoule, restant);
    return f;
  }

  // ---- The five views. Each one rebuilds its content only when what it reads changed. ----

  function vueSeries(etat) {
    const e = epreuveEnCours(etat);
    const f = document.createDocumentFragment();
    if (e < 0) {
      f.append(vide('Aucune épreuve en cours'));
      return f;
    }
    const series = liste(objet(liste(etat.epreuves)[e]).series);
    if (series.length === 0) {
      f.append(vide('Aucune série pour cette épreuve'));
      return f;
    }
    const courante = index(etat.serieCourante);
    // With many series the one in flight can sit far down a phone's screen.
    if (courante >= 0 && courante < series.length) {
      const lien = el('a', 'aller-en-vol', 'Aller à la série en vol (n° ' + (courante + 1) + ')');
      lien.href = '#serie-en-vol';
      f.append(lien);
    }
    const grille = el('div', 'series');
    series.forEach(function (s0, k) {
      const s = objet(s0);
      const carte = el('article', k === courante ? 'serie courante' : 'serie');
      if (k === courante) {
        carte.setAttribute('aria-current', 'true');
        carte.id = 'serie-en-vol';
      }
      // The rank in the event, not a number from the data, as on the projector.
      carte.append(el('h3', 'titre-serie', 'Série n° ' + (k + 1)));
      const avecResultats = s.avecResultats === true;
      const ul = el('ul', 'pilotes');
      for (const p0 of liste(s.pilotes)) {
        const p = objet(p0);
        let classeNom = 'nom';
        if (avecResultats) classeNom += p.reussi === true ? ' reussi' : ' echoue';
        const li = el('li', 'ligne-pilote');
        li.append(el('span', 'numero', texte(p.numero)), el('span', classeNom, nomPilote(p)));
        ul.append(li);
      }
      carte.append(ul);
      grille.append(carte);
    });
    f.append(grille);
    return f;
  }

  function vuePreparation(prep) {
    const f = document.createDocumentFragment();
    // Only an explicit "not found" hides the rows the station sent.
    const pilotes = prep.trouvee === false ? [] : liste(prep.pilotes);
    if (pilotes.length === 0) {
      f.append(vide('Aucun pilote à préparer'));
      return f;
    }
    const t = table('preparation', [
      { classe: 'position', lignes: ['Position'] },
      { classe: 'numero', lignes: ['Vellor n°'] },
      { classe: 'pilote', lignes: ['Pilote'] },
      { classe: 'club', lignes: ['Club'] }]);
    pilotes.forEach(function (p0, i) {
      const p = objet(p0);
      const tr = el('tr');
      // The preparation window calls the pilots by their second name part first.
      tr.append(cellule('position', String(i + 1)), cellule('numero', texte(p.numero)),
        cellule('pilote', texte(p.nom2) + ' ' + texte(p.nom1)), cellule('club', texte(p.club)));
      t.corps.append(tr);
    });
    f.append(t.table);
    return f;
  }

  function vueClassementEpreuve(lignes) {
    const f = document.createDocumentFragment();
    if (lignes.length === 0) {
      f.append(vide('Aucun classement'));
      return f;
    }
    const t = table('classement', [
      { classe: 'position', lignes: ['Pos.'] },
      { classe: 'numero', lignes: ['Vellor n°'] },
      { classe: 'pilote', lignes: ['Pilote'] },
      { classe: 'points', lignes: ['Points'] }]);
    lignes.forEach(function (l0, i) {
      const l = objet(l0);
      const tr = el('tr');
      // Positions run 1, 2, 3... also between equal points, as on the projector.
      tr.append(cellule('position', String(i + 1)), cellule('numero', texte(l.numero)),
        cellule('pilote', nomPilote(l)), cellule('points', texte(l.points)));
      t.corps.append(tr);
    });
    f.append(t.table);
    return f;
  }

  function vueClassementCoupe(lignes) {
    const f = document.createDocumentFragment();
    if (lignes.length === 0) {
      f.append(vide('Aucun classement'));
      return f;
    }
    const ol = el('ol', 'coupe');
    for (const l0 of lignes) {
      const l = objet(l0);
      const li = el('li', 'ligne-coupe');
      // The badge never shows "ex aequo": equal ranks already say it.
      const rang = texte(l.rang).split('ex aequo').join('').trim();
      const badge = el('span', 'badge', rang);
      badge.title = texte(l.rang);
      li.append(badge, el('span', 'points', texte(l.points)), el('span', 'numero', texte(l.numero)),
        el('span', 'nom', nomPilote(l)));
      ol.append(li);
    }
    f.append(ol);
    return f;
  }

  // A value of exactly "0" is a score not yet flown: the scoreboard leaves it blank.
  function sansZero(v) { const t = texte(v); return t === '0' ? '' : t; }

  // The scoreboard's fifth column depends on the event; the first event has no scoreboard.
  const COLONNES_EPREUVE = [
    null,
    { lignes: ['Baguettes'], valeur: function (l) { return sansZero(l.baguettes); } },
    { lignes: ['Pylônes'], valeur: function (l) { return sansZero(l.pylones); } },
    { lignes: ['Banderoles'], valeur: function (l) { return sansZero(l.banderoles); } },
    { lignes: ['Limbo en', 'vol / looping'], valeur: function (l) {
      const limbo = texte(l.limbo);
      const looping = texte(l.looping);
      return limbo === '0' && looping === '0' ? '' : limbo + ' / ' + looping;
    } }];
  const LIGNES_TABLEAU = 10;

  function vueTableau(e, lignes) {
    const f = document.createDocumentFragment();
    if (e < 0) {
      f.append(vide('Aucune épreuve en cours'));
      return f;
    }
    const colonne = COLONNES_EPREUVE[e];
    if (!colonne) {
      f.append(vide('Pas de tableau pour cette épreuve'));
      return f;
    }
    const t = table('tableau', [
      { classe: 'position', lignes: ['Pos.'] },
      { classe: 'pilote', lignes: ['Pilote'] },
      { classe: 'numero', lignes: ['Vellor'] },
      { classe: 'touch', lignes: ['Touch', 'and Go'] },
      { classe: 'epreuve', lignes: colonne.lignes },
      { classe: 'total', lignes: ['Total', 'points'] }]);
    // Always ten ranks, like the board on the projector, whatever the number of rows.
    for (let k = 0; k < LIGNES_TABLEAU; k++) {
      const tr = el('tr');
      tr.append(cellule('position', String(k + 1)));
      if (k < lignes.length) {
        const l = objet(lignes[k]);
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
      t.corps.append(tr);
    }
    f.append(t.table);
    return f;
  }

  // ---- Rendering: at most once per frame, and only the views whose inputs changed. ----

  const vues = {};
  let titreCoupe = '';

  function preparerVues() {
    for (const id of ['vue-series', 'vue-preparation', 'vue-classement-epreuve',
      'vue-classement-coupe', 'vue-tableau']) {
      const s = document.getElementById(id);
      vues[id] = {
        contenu: s.querySelector('[data-role="contenu"]'),
        sousTitre: s.querySelector('[data-role="epreuve"]'),
        chrono: s.querySelector('[data-role="chrono"]'),
        cle: null
      };
    }
  }

  function rendreVue(id, entrees, construire) {
    const v = vues[id];
    const cle = JSON.stringify(entrees);
    if (cle === v.cle) return;
    v.cle = cle;
    v.contenu.replaceChildren(construire());
  }

  function poserTexte(n, t) { if (n && n.textContent !== t) n.textContent = t; }

  function rendre(etat) {
    const e = epreuveEnCours(etat);
    const nom = nomEpreuve(etat, e);
    const epreuves = liste(etat.epreuves);
    const prep = objet(etat.preparation);

    for (const id of ['vue-series', 'vue-tableau']) {
      const c = vues[id].chrono;
      c.replaceChildren(chrono(etat));
    }
    poserTexte(vues['vue-series'].sousTitre, nom);
    poserTexte(vues['vue-classement-epreuve'].sousTitre, nom);
    poserTexte(vues['vue-tableau'].sousTitre, nom);
    poserTexte(vues['vue-preparation'].sousTitre, texte(prep.titre));
    titreCoupe = texte(etat.titreCoupe);

    rendreVue('vue-series', [e, e >= 0 ? objet(epreuves[e]).series : null, etat.serieCourante],
      function () { return vueSeries(etat); });
    rendreVue('vue-preparation', [prep.trouvee, prep.pilotes],
      function () { return vuePreparation(prep); });
    rendreVue('vue-classement-epreuve', [etat.classementEpreuve],
      function () { return vueClassementEpreuve(liste(etat.classementEpreuve)); });
    rendreVue('vue-classement-coupe', [etat.classementCoupe],
      function () { return vueClassementCoupe(liste(etat.classementCoupe)); });
    rendreVue('vue-tableau', [e, etat.tableauEpreuve],
      function () { return vueTableau(e, liste(etat.tableauEpreuve)); });
  }

  let etatEnAttente = null;
  function planifierRendu(etat) {
    const premier = etatEnAttente === null;
    etatEnAttente = etat;
    if (!premier) return;
    // A burst of events costs one rendering; a hidden tab renders when shown again.
    requestAnimationFrame(function () {
      const etat = etatEnAttente;
      etatEnAttente = null;
      rendre(etat);
    });
  }

  // ---- The cup title fades between the received title and the fixed one. ----

  function animerTitreCoupe() {
    const h = document.getElementById('titre-classement-coupe');
    setInterval(function () {
      h.classList.add('efface');
      setTimeout(function () {
        let suivant;
        if (h.textContent === titreCoupe) suivant = TITRE_FIXE;
        else suivant = titreCoupe || 'Classement général';
        h.textContent = suivant;
        h.classList.remove('efface');
      }, 700);
    }, PERIODE_TITRE_MS);
  }

  // ---- Connection and status line. ----

  let arrivee = null;       // performance.now() when the shown state arrived
  let depuisTrameMs = -1;   // age of the station's data when it published that state
  let fluxOuvert = false;
  let dejaOuvert = false;
  let enErreur = false;     // the stream failed and has not reopened since
  let receptions = 0;       // stream events received; a slower fetch must not undo them
  let source = null;
  let relance = null;

  function recevoir(json) {
    let etat;
    try { etat = JSON.parse(json); } catch (err) { return false; }
    if (etat === null || typeof etat !== 'object' || Array.isArray(etat)) return false;
    arrivee = performance.now();
    const d = etat.depuisTrameMs;
    depuisTrameMs = typeof d === 'number' && Number.isFinite(d) ? d : -1;
    planifierRendu(etat);
    majEtatConnexion();
    return true;
  }

  function chargerEtat() {
    const avant = receptions;
    fetch('etat.json', { cache: 'no-store' })
      .then(function (r) { return r.ok ? r.text() : null; })
      .then(function (t) { if (t !== null && receptions === avant) recevoir(t); })
      .catch(function () { /* the stream will bring the state */ });
  }

  function ouvrirFlux() {
    clearTimeout(relance);
    if (source) source.close();
    const s = new EventSource('evenements');
    source = s;
    s.addEventListener('open', function () {
      if (s !== source) return;
      fluxOuvert = true;
      enErreur = false;
      // After a station restart or a Wi-Fi drop, catch up without waiting for a change.
      if (dejaOuvert) chargerEtat();
      dejaOuvert = true;
      majEtatConnexion();
    });
    s.addEventListener('etat', function (ev) {
      if (s !== source) return;
      receptions++;
      recevoir(ev.data);
    });
    s.addEventListener('error', function () {
      if (s !== source) return;
      fluxOuvert = false;
      enErreur = true;
      majEtatConnexion();
      // While CONNECTING the browser retries by itself; CLOSED means it gave up.
      if (s.readyState === EventSource.CLOSED) relance = setTimeout(ouvrirFlux, DELAI_RECREATION_MS);
    });
  }

  function relancerSiFerme() {
    if (!source || source.readyState === EventSource.CLOSED) ouvrirFlux();
  }

  function duree(ms) {
    const s = Math.max(0, Math.floor(ms / 1000));
    if (s < 60) return s + ' s';
    const m = Math.floor(s / 60);
    if (m < 60) return m + ' min ' + (s % 60) + ' s';
    return Math.floor(m / 60) + ' h ' + (m % 60) + ' min';
  }

  function majEtatConnexion() {
    const ligne = document.getElementById('etat-connexion');
    let message;
    let classe;
    let age = null;
    if (arrivee !== null && depuisTrameMs >= 0) age = performance.now() - arrivee + depuisTrameMs;
    if (enErreur) {
      message = 'Connexion perdue, nouvelle tentative…';
      if (age !== null) message += ' (données reçues il y a ' + duree(age) + ')';
      classe = 'perdu';
    } else if (arrivee === null) {
      message = 'Connexion à la station…';
      classe = 'attente';
    } else if (age === null) {
      message = 'En attente des premières données de la station';
      classe = 'attente';
    } else {
      message = 'Données reçues il y a ' + duree(age);
      classe = age > AGE_ANCIEN_MS ? 'ancien' : 'frais';
    }
    poserTexte(ligne, message);
    ligne.className = 'etat ' + classe;
  }

  function demarrer() {
    preparerVues();
    chargerEtat();
    ouvrirFlux();
    majEtatConnexion();
    setInterval(majEtatConnexion, 1000);
    animerTitreCoupe();
    // A phone that slept or changed network may hold a stream that gave up.
    document.addEventListener('visibilitychange', function () {
      if (!document.hidden) relancerSiFerme();
    });
    window.addEventListener('online', relancerSiFerme);
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', demarrer);
  else demarrer();
})();
