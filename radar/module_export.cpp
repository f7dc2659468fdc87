// The loadable module is the static library linked whole; this file only
// gives the module target a source of its own.
