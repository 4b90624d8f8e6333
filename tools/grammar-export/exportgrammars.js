// Writes the compiled mode graphs of highlight.js's grammars as one JSON value. Evaluated by
// kestrune-grammar-export after highlight.min.js; exportGrammars(names) is its entry point.
//
// Each language is compiled by one highlight() call, which leaves its modes as the matcher sees
// them: variants expanded, 'self' resolved, keywords split, begin and end patterns final. The
// modes form a graph with cycles and sharing, so every mode object gets an index in one list
// and refers to the others by index. For each mode the combined terminator pattern is rebuilt
// exactly as the library's buildModeRegex() builds it, with the map from capture group to rule.
function exportGrammars(names) {
    hljs.configure({hideUpgradeWarningAcceptNoSupportOrSecurityUpdates: true});

    function reStr(re) {
        return (re && re.source) || re;
    }

    function reCountMatchGroups(re) {
        return (new RegExp(re.toString() + '|')).exec('').length - 1;
    }

    // The library's joinRe(): the patterns joined by the separator, each in a group of its
    // own, with their back-references renumbered.
    function joinRe(regexps, separator) {
        var backreferenceRe = /\[(?:[^\\\]]|\\.)*\]|\(\??|\\([1-9][0-9]*)|\\./;
        var numCaptures = 0;
        var ret = '';
        for (var i = 0; i < regexps.length; i++) {
            numCaptures += 1;
            var offset = numCaptures;
            var re = reStr(regexps[i]);
            if (i > 0)
                ret += separator;
            ret += '(';
            while (re.length > 0) {
                var match = backreferenceRe.exec(re);
                if (match == null) {
                    ret += re;
                    break;
                }
                ret += re.substring(0, match.index);
                re = re.substring(match.index + match[0].length);
                if (match[0][0] == '\\' && match[1]) {
                    ret += '\\' + String(Number(match[1]) + offset);
                } else {
                    ret += match[0];
                    if (match[0] == '(')
                        numCaptures++;
                }
            }
            ret += ')';
        }
        return ret;
    }

    var modes = [];
    var ids = new Map();
    function idOf(mode) {
        if (!ids.has(mode)) {
            ids.set(mode, modes.length);
            modes.push(mode);
        }
        return ids.get(mode);
    }

    // buildModeRegex(): the terminator pattern and, per rule, the group that starts it: a
    // contains index, -1 for the end and -2 for an illegal lexeme.
    function terminators(mode) {
        var patterns = [];
        var rules = [];
        var matchAt = 1;
        function addRule(rule, regex) {
            rules.push([matchAt, rule]);
            patterns.push(regex);
            matchAt += reCountMatchGroups(regex) + 1;
        }
        for (var i = 0; i < mode.contains.length; i++) {
            var term = mode.contains[i];
            addRule(i, term.beginKeywords ? '\\.?(?:' + term.begin + ')\\.?' : term.begin);
        }
        if (mode.terminator_end)
            addRule(-1, mode.terminator_end);
        if (mode.illegal)
            addRule(-2, mode.illegal);
        return {pattern: patterns.length ? joinRe(patterns, '|') : null, rules: rules};
    }

    function exportMode(mode) {
        var out = {};
        if (mode.className)
            out.className = mode.className;
        if (mode.begin !== undefined)
            out.begin = reStr(mode.begin);
        if (mode.end !== undefined && mode.end !== null && reStr(mode.end) !== '')
            out.end = reStr(mode.end);
        ['endsWithParent', 'endsParent', 'returnBegin', 'returnEnd', 'excludeBegin', 'excludeEnd', 'skip',
         'endSameAsBegin']
            .forEach(function(flag) {
                if (mode[flag])
                    out[flag] = true;
            });
        if (mode.illegal)
            out.illegal = reStr(mode.illegal);
        if (mode.subLanguage !== undefined && mode.subLanguage !== null)
            out.subLanguage = typeof mode.subLanguage === 'string' ? [mode.subLanguage] : mode.subLanguage;
        if (typeof mode.subLanguage === 'string')
            out.explicitSubLanguage = true;
        if (mode.keywords) {
            var keywords = {};
            Object.keys(mode.keywords).forEach(function(word) {
                keywords[word] = mode.keywords[word][0];
            });
            out.keywords = keywords;
        }
        out.lexemes = mode.lexemesRe.source;
        // The language that compiled a mode gives its patterns their letter case rule.
        out.caseInsensitive = mode.lexemesRe.ignoreCase;
        out.contains = mode.contains.map(idOf);
        if (mode.starts)
            out.starts = idOf(mode.starts);
        if (mode.terminator_end)
            out.terminatorEnd = mode.terminator_end;
        var t = terminators(mode);
        if (t.pattern !== null) {
            out.terminators = t.pattern;
            out.rules = t.rules;
        }
        return out;
    }

    var languages = {};
    var order = [];
    names.forEach(function(name) {
        var language = hljs.getLanguage(name);
        if (!language)
            return;
        hljs.highlight(name, 'x', true);
        order.push(name);
        languages[name] = {
            top: idOf(language),
            caseInsensitive: !!language.case_insensitive,
            aliases: language.aliases || []
        };
    });
    var exported = [];
    for (var i = 0; i < modes.length; i++)
        exported.push(exportMode(modes[i]));
    return JSON.stringify({version: hljs.versionString, order: order, languages: languages, modes: exported});
}
