# Prints the accessibility tree of a running application as a screen reader sees it
# over AT-SPI, one node a line:
#   <depth>|<role>|<name>|<text>|<actions>|<focusable>|<labelled by>
# With "press NAME" after the application's name, it first performs the press action of
# the node so named and waits for the tree to settle.
import sys
import time

import pyatspi


def find_app(name, seconds):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def nodes(acc, depth=0):
    yield depth, acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child, depth + 1)


def line(depth, acc):
    try:
        t = acc.queryText()
        text = t.getText(0, t.characterCount)
    except NotImplementedError:
        text = "-"
    try:
        a = acc.queryAction()
        actions = ",".join(a.getName(i) for i in range(a.nActions))
    except NotImplementedError:
        actions = ""
    focusable = "focusable" if acc.getState().contains(pyatspi.STATE_FOCUSABLE) else ""
    labelled = ""
    for r in acc.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labelled = r.getTarget(0).name
    return "|".join([str(depth), acc.getRoleName(), acc.name, text, actions, focusable, labelled])


def main():
    app = find_app(sys.argv[1], 20)
    if app is None:
        print("application not found", file=sys.stderr)
        return 1
    if len(sys.argv) > 3 and sys.argv[2] == "press":
        for _, acc in nodes(app):
            if acc.name == sys.argv[3]:
                a = acc.queryAction()
                a.doAction([a.getName(i) for i in range(a.nActions)].index("Press"))
                time.sleep(1)
                break
    for depth, acc in nodes(app):
        if acc.getRoleName() != "list item":  # the era lists: a hundred rows of no interest
            print(line(depth, acc))
    return 0


sys.exit(main())
