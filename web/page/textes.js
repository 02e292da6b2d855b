// The French grammar that several parts of the page share.
export function ordinal(rang) { return rang + (rang === '1' ? 'er' : 'e'); }
export function pluriel(n, mot) { return n + ' ' + mot + (n > 1 ? 's' : ''); }
