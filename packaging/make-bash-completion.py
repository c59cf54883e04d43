#!/usr/bin/env python3
"""Writes the bash completion of quillmark-cli from the program's own --help.

Walks `quillmark-cli [COMMAND...] --help` through every command group, and collects each
level's subcommands, its options (and which of them take a value), the values an option or
the first positional lists as choices ("none|odd|even", "{quiet,line,count}", or a
description such as "Rotation: 0|90|180|270"), and where a positional is a file. Made at
build time, so the completion offers exactly what that build of the program accepts.

Usage: make-bash-completion.py QUILLMARK_CLI OUTPUT
"""
import re
import subprocess
import sys

# The link's port names; --port also takes tcp:// addresses and device paths, which are
# typed, not chosen.
PORT_NAMES = [f"COM{n}:" for n in range(1, 11)] + [f"LPT{n}:" for n in range(1, 5)] + ["USB", "ETHERNET"]
# Options whose value is a path.
PATH_OPTIONS = {"--out", "-o"}
# Choices in a description: a word list joined by "|" after a label's colon, no ranges.
DESCRIPTION_CHOICES = re.compile(r":\s([\w.+-]+(?:\|[\w.+-]+)+)(?:\s|$)")


def help_text(cli, path):
    run = subprocess.run([cli, *path, "--help"], capture_output=True, text=True, check=False)
    if run.returncode != 0:
        sys.exit(f"{cli} {' '.join(path)} --help: exit {run.returncode}\n{run.stderr}")
    return run.stdout


def choices_of(hint, description):
    """The values an option or positional offers, from its type hint or its description."""
    braces = re.search(r"\{([^}]*)\}", hint)
    if braces:
        return braces.group(1).split(",")
    for word in hint.split():
        if "|" in word:
            values = word.split("|")
            # "N|NAME" names placeholders, not values.
            if not all(v.isupper() and v.isalpha() for v in values):
                return values
    found = DESCRIPTION_CHOICES.search(description)
    if found and ".." not in found.group(1):
        return found.group(1).split("|")
    return []


def parse(text):
    """Subcommands, options {name: (takes_value, choices)}, and the first positional."""
    subcommands, options, positionals = [], {}, []
    section = None
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if line and not line.startswith(" "):
            section = line.rstrip(":") if line.endswith(":") else None
            continue
        if not line.startswith("  ") or line.startswith("   "):
            continue
        body = line[2:]
        # A long hint pushes the description to the next line.
        parts = re.split(r"\s{2,}", body, maxsplit=1)
        head = parts[0]
        description = parts[1] if len(parts) > 1 else ""
        if not description and i + 1 < len(lines) and lines[i + 1].startswith(" " * 10):
            description = lines[i + 1].strip()
        if section == "Subcommands":
            subcommands.append(head.split()[0])
        elif section == "Positionals":
            name, _, hint = head.partition(" ")
            positionals.append((name, choices_of(hint.replace("REQUIRED", ""), description)))
        elif head.startswith("-"):
            names, _, hint = head.partition(" ")
            # "--all Excludes: --start": a flag; the constraint is no value.
            hint = re.split(r"(?:^|\s)(?:Excludes|Needs):", hint)[0].strip()
            for name in names.split(","):
                if name in ("-h", "--help"):
                    continue
                options[name] = (bool(hint), choices_of(hint, description) if hint else [])
    return subcommands, options, positionals


def walk(cli, path, levels):
    subcommands, options, positionals = parse(help_text(cli, path))
    levels[" ".join(path)] = (subcommands, options, positionals)
    for sub in subcommands:
        walk(cli, path + [sub], levels)


def quote(words):
    return "'" + " ".join(words).replace("'", "'\\''") + "'"


def write(levels, out):
    globals_ = levels[""][1]
    out.write("# bash completion for quillmark-cli: made from the program's --help when it was built.\n")
    out.write("# Completes the commands, each command's options and the global ones (which may come\n")
    out.write("# before or after the command), the values an option lists, the port names, and files.\n\n")

    out.write("_quillmark_cli_subcommands() {\n  case $1 in\n")
    for path, (subs, _, _) in levels.items():
        if subs:
            out.write(f"    {quote([path])}) echo {quote(subs)} ;;\n")
    out.write("  esac\n}\n\n")

    out.write("_quillmark_cli_options() {\n  case $1 in\n")
    for path, (_, opts, _) in levels.items():
        names = [n for n in opts if n.startswith("--")]
        if path:
            names += [n for n in globals_ if n.startswith("--")]
        out.write(f"    {quote([path])}) echo {quote(names)} ;;\n")
    out.write("  esac\n}\n\n")

    # "path|option": whether it takes a value, and its choices; the global options apply
    # at every level.
    out.write("# Prints the option's choices; status 1 for a flag, 2 for an option unknown there.\n")
    out.write("_quillmark_cli_values() {\n  case $1 in\n")
    for path, (_, opts, _) in levels.items():
        for name, (takes_value, choices) in opts.items():
            key = f"{path}|{name}" if path else f"*|{name}"
            if not takes_value:
                out.write(f"    {quote([key])}) return 1 ;;\n")
            elif name == "--port":
                out.write(f"    {quote([key])}) echo {quote(PORT_NAMES)} ;;\n")
            elif name in PATH_OPTIONS:
                out.write(f"    {quote([key])}) echo @files ;;\n")
            else:
                out.write(f"    {quote([key])}) echo {quote(choices)} ;;\n")
    out.write("    *) return 2 ;;\n  esac\n}\n\n")

    out.write("_quillmark_cli_positional() {\n  case $1 in\n")
    for path, (_, _, positionals) in levels.items():
        if not positionals:
            continue
        name, choices = positionals[0]
        if choices:
            out.write(f"    {quote([path])}) echo {quote(choices)} ;;\n")
        elif name == "FILE":
            out.write(f"    {quote([path])}) echo @files ;;\n")
    out.write("  esac\n}\n\n")

    out.write(r"""_quillmark_cli() {
  local cur prev words cword
  _init_completion -n : || return

  # The command path so far, skipping options and the values they take.
  local path="" i word values
  for ((i = 1; i < cword; i++)); do
    word=${words[i]}
    if [[ $word == -* ]]; then
      [[ $word == *=* ]] && continue
      _quillmark_cli_values "$path|$word" >/dev/null || _quillmark_cli_values "*|$word" >/dev/null || continue
      ((i++))
    elif [[ " $(_quillmark_cli_subcommands "$path") " == *" $word "* ]]; then
      path="${path:+$path }$word"
    fi
  done

  if [[ $prev == -* && $prev != *=* ]]; then
    if values=$(_quillmark_cli_values "$path|$prev") || values=$(_quillmark_cli_values "*|$prev"); then
      if [[ $values == @files ]]; then
        _filedir
      elif [[ -n $values ]]; then
        COMPREPLY=($(compgen -W "$values" -- "$cur"))
        __ltrim_colon_completions "$cur"
      fi
      return
    fi
  fi

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(_quillmark_cli_options "$path")" -- "$cur"))
    return
  fi
  local subcommands
  subcommands=$(_quillmark_cli_subcommands "$path")
  if [[ -n $subcommands ]]; then
    COMPREPLY=($(compgen -W "$subcommands" -- "$cur"))
    return
  fi
  values=$(_quillmark_cli_positional "$path")
  if [[ $values == @files ]]; then
    _filedir
  elif [[ -n $values ]]; then
    COMPREPLY=($(compgen -W "$values" -- "$cur"))
  fi
}
complete -F _quillmark_cli quillmark-cli
""")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    levels = {}
    walk(sys.argv[1], [], levels)
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        write(levels, out)


if __name__ == "__main__":
    main()
