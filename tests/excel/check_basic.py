#!/usr/bin/env python3
"""Static checks of the spreadsheet modules (host/excel/*.bas), without Excel.

check_basic.py FOLDER

- Every name a procedure uses is declared, as Option Explicit wants it: a
  local, a parameter, a name of its module or a public one of another
  module (the library's calls are those declared in Tavo.bas), or one of
  the language's or the host's own; every module says Option Explicit.
- The modules can live in one module, as the tests run them under
  LibreOffice: no two modules declare the same name, and no local or
  parameter is named like a procedure.
- Nothing that LibreOffice's Basic reads otherwise than Excel: no ReDim
  and no call with an Else in a one-line If, no Optional parameter with a
  default value, no function that returns an array.
- A module is ASCII with CR LF line ends, and its VB_Name is its file name.
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
""".split())

BUILTINS = set("""
len mid mid$ left left$ right right$ trim trim$ lcase lcase$ ucase ucase$ replace split join instr instrrev chrw
chrw$ chr chr$ ascw asc val str str$ cstr clng cint cdbl csng cbyte cbool hex hex$ abs sqr sin cos atn log int
fix round iif isnull isempty isarray isnumeric ismissing vartype typename ubound lbound array err freefile space$
format format$ callbyname strconv choose doevents dir msgbox environ
vblf vbcr vbcrlf vbtab vbstring vbempty vbnull vbboolean vbinteger vblong vbsingle vbdouble vbcurrency vbdate
vbdecimal vbbyte vbobjecterror vbexclamation vbinformation vbbinarycompare vbunicode vbfromunicode vbget
application activesheet activeworkbook selection thisworkbook
""".split())

PROCEDURE = re.compile(r"^(?:(Public|Private) )?(?:Static )?(Sub|Function|Property (?:Get|Let|Set)) (\w+)\((.*)\)"
                       r"(?: As (\w+(?:\(\))?))?$", re.I)
TOKEN = re.compile(r'"(?:[^"]|"")*"|&H[0-9A-F]+&?|\d+(?:\.\d+)?(?:E[-+]?\d+)?[#!&]?|\.?[A-Za-z_]\w*[$#&!]?|:=|\S', re.I)


def logical_lines(text):
    """(line number, code) with continuations joined and comments dropped."""
    out, pending, first = [], "", 0
    for number, raw in enumerate(text.split("\r\n"), 1):
        code, in_string = "", False
        for ch in raw:
            if ch == '"':
                in_string = not in_string
            elif ch == "'" and not in_string:
                break
            code += ch
        code = code.rstrip()
        if not pending:
            first = number
        if code.endswith(" _"):
            pending += code[:-2] + " "
            continue
        out.append((first, (pending + code).strip()))
        pending = ""
    return out


def names_in(code):
    """Identifiers used in a line of code, not members (after a dot), not
    named arguments, without type characters."""
    names = []
    tokens = TOKEN.findall(code)
    for i, t in enumerate(tokens):
        if t.startswith('"') or t.startswith(".") or not re.match(r"[A-Za-z_]", t):
            continue
        if i + 1 < len(tokens) and tokens[i + 1] == ":=":
            continue
        names.append(t.rstrip("$#&!").lower())
    return names


def declared_in(code):
    """Names a Dim, Const, parameter list or declaration line declares."""
    code = re.sub(r"\([^()]*\)", "()", code)
    return [m.lower() for m in re.findall(r"(?:^|,|\b(?:Dim|Const|Public|Private|Static|ReDim|Optional|ByVal|ByRef|ParamArray) )\s*(\w+)[$#&!]?(?:\(\))?(?= As | =|,|$|\()",
                                          code, re.I)
            if m.lower() not in KEYWORDS]


class Module:
    def __init__(self, path):
        self.path = path
        self.name = os.path.splitext(os.path.basename(path))[0]
        with open(path, "rb") as f:
            raw = f.read()
        self.problems = []
        if re.search(rb"[^\x00-\x7f]", raw):
            self.problems.append("not ASCII")
        if re.search(rb"(?<!\r)\n", raw):
            self.problems.append("has line ends other than CR LF")
        self.lines = logical_lines(raw.decode("ascii", "replace"))
        self.public, self.private, self.procedures, self.types = set(), set(), [], set()
        body, in_type = None, False
        for number, code in self.lines:
            m = PROCEDURE.match(code)
            if body is None and m:
                body = {"name": m.group(3).lower(), "kind": m.group(2).split()[0].lower(), "line": number,
                        "params": m.group(4), "returns": m.group(5) or "", "lines": []}
                (self.private if (m.group(1) or "").lower() == "private" else self.public).add(body["name"])
                continue
            if body is not None:
                if re.match(r"^End (Sub|Function|Property)$", code, re.I):
                    self.procedures.append(body)
                    body = None
                else:
                    body["lines"].append((number, code))
                continue
            t = re.match(r"^(Public |Private )?Type (\w+)$", code, re.I)
            if t:
                in_type = True
                self.types.add(t.group(2).lower())
                (self.private if (t.group(1) or "").lower().startswith("private") else self.public).add(t.group(2).lower())
                continue
            if in_type:
                in_type = not re.match(r"^End Type$", code, re.I)
                continue
            d = re.match(r"^(Public|Private|Dim|Const|Global)\b(.*)$", code, re.I)
            if d and " Declare " in " " + code + " ":
                name = re.search(r"(?:Sub|Function) (\w+)", code).group(1).lower()
                (self.private if d.group(1).lower() == "private" else self.public).add(name)
            elif d:
                target = self.public if d.group(1).lower() in ("public", "global") else self.private
                target.update(declared_in(code))
        header = [c for _, c in self.lines[:3]]
        if not header or header[0] != 'Attribute VB_Name = "%s"' % self.name:
            self.problems.append('does not start with Attribute VB_Name = "%s"' % self.name)
        if "Option Explicit" not in [c for _, c in self.lines]:
            self.problems.append("has no Option Explicit")


def check(folder):
    modules = [Module(os.path.join(folder, f)) for f in sorted(os.listdir(folder)) if f.endswith(".bas")]
    problems = []
    public = set().union(*(m.public for m in modules))
    procedures = {p["name"] for m in modules for p in m.procedures} | {n for m in modules for n in m.public
                                                                        if m.name == "Tavo"}
    seen = {}
    for m in modules:
        problems += ["%s: %s" % (m.path, p) for p in m.problems]
        for name in m.public | m.private:
            if name in seen and m.name != "Tavo":
                problems.append("%s: %s is declared in %s too; the modules must fit in one" % (m.path, name, seen[name]))
            seen.setdefault(name, m.name)
    for m in modules:
        if m.name == "Tavo":
            continue
        module_names = m.public | m.private | public
        for p in m.procedures:
            params = p["params"]
            if re.search(r"Optional [^,]*=", params, re.I):
                problems.append("%s:%d: %s: an Optional parameter with a default value" % (m.path, p["line"], p["name"]))
            if p["returns"].endswith("()"):
                problems.append("%s:%d: %s returns an array" % (m.path, p["line"], p["name"]))
            local = set(declared_in(params)) | {p["name"]}
            labels = set()
            for number, code in p["lines"]:
                if re.match(r"^(Dim|Const|Static|ReDim)\b", code, re.I) and not code.lower().startswith("redim "):
                    local.update(declared_in(code))
                label = re.match(r"^(\w+):$", code)
                if label:
                    labels.add(label.group(1).lower())
            for name in (set(declared_in(params)) | local) - {p["name"]}:
                if name in procedures:
                    problems.append("%s:%d: %s: the local %s is named like a procedure" % (m.path, p["line"], p["name"], name))
            for number, code in p["lines"]:
                one_line_if = re.match(r"^If .* Then (\S.*)$", code, re.I)
                if one_line_if and re.search(r"\bReDim\b", one_line_if.group(1), re.I):
                    problems.append("%s:%d: ReDim in a one-line If" % (m.path, number))
                if one_line_if and re.search(r"\bElse\b", one_line_if.group(1), re.I):
                    problems.append("%s:%d: Else in a one-line If" % (m.path, number))
                for name in names_in(code):
                    if name in KEYWORDS or name in BUILTINS or name in local or name in labels or name in module_names:
                        continue
                    problems.append("%s:%d: %s is not declared" % (m.path, number, name))
    return modules, problems


def main():
    modules, problems = check(sys.argv[1])
    for p in problems:
        print(p)
    print("%s: %d modules, %d procedures checked" % (sys.argv[1], len(modules), sum(len(m.procedures) for m in modules)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
