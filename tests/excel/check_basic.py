#!/usr/bin/env python3
"""check_basic.py FOLDER: static checks of the spreadsheet modules (FOLDER/*.bas), without Excel.

- Every name a procedure uses is declared, as Option Explicit wants (LibreOffice finds out only when the line
  runs): a local, a parameter, a name of its module, a public one of another (Tavo.bas declares the library's
  calls), or the language's or the host's own.
- The modules fit in one, as the tests run them: no two declare a name, no local is named like a procedure.
- Nothing LibreOffice's Basic reads otherwise than Excel: ReDim or Else in a one-line If, an Optional
  parameter with a default value, a function that returns an array.
- A module is ASCII with CR LF line ends, starts with its VB_Name (its file name) and says Option Explicit.
"""
import os
import re
import sys

KEYWORDS = set("""
as byval byref dim if then else elseif end for to step next do loop while until wend select case exit function
sub property public private const type set let get call on error resume goto not and or xor mod is like new
nothing empty null true false redim preserve optional paramarray each in with open binary access read close
output input long integer byte double single string boolean variant object currency date longptr option
explicit attribute declare ptrsafe lib alias static me print
len mid mid$ left left$ right right$ trim trim$ lcase lcase$ ucase ucase$ replace split join instr instrrev chrw
chrw$ chr chr$ ascw asc val str str$ cstr clng cint cdbl csng cbyte cbool hex hex$ abs sqr sin cos atn log int
fix round iif isnull isempty isarray isnumeric ismissing vartype typename ubound lbound array err freefile space$
format format$ callbyname strconv choose doevents dir msgbox environ
vblf vbcr vbcrlf vbtab vbstring vbempty vbnull vbboolean vbinteger vblong vbsingle vbdouble vbcurrency vbdate
vbdecimal vbbyte vbobjecterror vbexclamation vbinformation vbbinarycompare vbunicode vbfromunicode vbget
application activesheet activeworkbook selection thisworkbook
""".split())

PROCEDURE = re.compile(r"^(?:(Public|Private) )?(?:Static )?(?:Sub|Function|Property (?:Get|Let|Set)) (\w+)\((.*)\)"
                       r"(?: As (\w+(?:\(\))?))?$", re.I)
TOKEN = re.compile(r'"(?:[^"]|"")*"|&H[0-9A-F]+&?|\d+(?:\.\d+)?(?:E[-+]?\d+)?[#!&]?|\.?[A-Za-z_]\w*[$#&!]?|:=|\S', re.I)


def logical_lines(text):
    """(line number, code) with continuations joined and comments dropped."""
    out, pending, first = [], "", 0
    for number, raw in enumerate(text.split("\r\n"), 1):
        code = re.match(r'^(?:[^"\']|"[^"]*")*', raw).group(0).rstrip()
        first = first if pending else number
        if code.endswith(" _"):
            pending += code[:-2] + " "
        else:
            out.append((first, (pending + code).strip()))
            pending = ""
    return out


def names_in(code):
    """Identifiers a line uses: not members (after a dot), not named arguments, without type characters."""
    tokens = TOKEN.findall(code) + [""]
    return [t.rstrip("$#&!").lower() for i, t in enumerate(tokens[:-1])
            if re.match(r"[A-Za-z_]", t) and tokens[i + 1] != ":="]


def declared_in(code):
    """Names a Dim, Const, parameter list or declaration line declares."""
    code = re.sub(r"\([^()]*\)", "()", code)
    return [m.lower() for m in re.findall(r"(?:^|,|\b(?:Dim|Const|Public|Private|Static|ReDim|Optional|ByVal|ByRef|ParamArray) )"
                                          r"\s*(\w+)[$#&!]?(?:\(\))?(?= As | =|,|$|\()", code, re.I) if m.lower() not in KEYWORDS]


def read_module(path):
    """The module's problems of form, its public and private names, and its procedures."""
    with open(path, "rb") as f:
        raw = f.read()
    name = os.path.splitext(os.path.basename(path))[0]
    lines = logical_lines(raw.decode("ascii", "replace"))
    problems = ["not ASCII"] * bool(re.search(rb"[^\x00-\x7f]", raw)) + \
        ["has line ends other than CR LF"] * bool(re.search(rb"(?<!\r)\n", raw)) + \
        ['does not start with Attribute VB_Name = "%s"' % name] * (lines[0][1] != 'Attribute VB_Name = "%s"' % name) + \
        ["has no Option Explicit"] * ("Option Explicit" not in [c for _, c in lines])
    names = {"public": set(), "private": set()}
    procedures, body, in_type = [], None, False
    scope = lambda word: "private" if (word or "").lower() == "private" else "public"
    for number, code in lines:
        m = PROCEDURE.match(code)
        if body is None and m:
            body = {"name": m.group(2).lower(), "line": number, "params": m.group(3), "returns": m.group(4) or "", "lines": []}
            names[scope(m.group(1))].add(body["name"])
        elif body is not None and re.match(r"^End (Sub|Function|Property)$", code, re.I):
            procedures, body = procedures + [body], None
        elif body is not None:
            body["lines"].append((number, code))
        elif re.match(r"^(Public |Private )?Type \w+$", code, re.I):
            in_type = True
            names[scope(code.split()[0])].add(code.split()[-1].lower())
        elif in_type:
            in_type = not re.match(r"^End Type$", code, re.I)
        elif re.match(r"^(Public|Private|Dim|Const|Global)\b", code, re.I):
            declared = [re.search(r"(?:Sub|Function) (\w+)", code).group(1).lower()] if " Declare " in code else declared_in(code)
            names["public" if code.split()[0].lower() in ("public", "global") else "private"].update(declared)
    return name, problems, names, procedures


def check(folder):
    modules = [read_module(os.path.join(folder, f)) for f in sorted(os.listdir(folder)) if f.endswith(".bas")]
    problems, seen = [], {}
    public = set().union(*(names["public"] for _, _, names, _ in modules))
    procedures = {p["name"] for *_, ps in modules for p in ps} | next(n["public"] for m, _, n, _ in modules if m == "Tavo")
    for name, form, names, _ in modules:
        problems += ["%s: %s" % (name, p) for p in form]
        for n in names["public"] | names["private"]:
            if n in seen and name != "Tavo":
                problems.append("%s: %s is declared in %s too; the modules must fit in one" % (name, n, seen[n]))
            seen.setdefault(n, name)
    for name, _, names, procs in modules:
        if name == "Tavo":
            continue
        for p in procs:
            where = "%s:%d: %s" % (name, p["line"], p["name"])
            problems += [where + ": an Optional parameter with a default value"] * bool(re.search(r"Optional [^,]*=", p["params"], re.I))
            problems += [where + " returns an array"] * p["returns"].endswith("()")
            local = set(declared_in(p["params"]))
            for _, code in p["lines"]:
                if re.match(r"^(Dim|Const|Static)\b", code, re.I):
                    local.update(declared_in(code))
                local.update(l.lower() for l in re.findall(r"^(\w+):$", code))  # labels
            problems += ["%s: the local %s is named like a procedure" % (where, n) for n in local & procedures]
            known = KEYWORDS | local | names["public"] | names["private"] | public | {p["name"]}
            for number, code in p["lines"]:
                then = re.match(r"^If .* Then (\S.*)$", code, re.I)
                problems += ["%s:%d: %s in a one-line If" % (name, number, word) for word in ("ReDim", "Else")
                             if then and re.search(r"\b%s\b" % word, then.group(1), re.I)]
                problems += ["%s:%d: %s is not declared" % (name, number, n) for n in names_in(code) if n not in known]
    return modules, problems


if __name__ == "__main__":
    modules, problems = check(sys.argv[1])
    print("\n".join(problems + ["%s: %d modules, %d procedures checked" % (sys.argv[1], len(modules), sum(len(m[3]) for m in modules))]))
    sys.exit(1 if problems else 0)
