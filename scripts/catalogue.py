"""Reading a Qt catalogue (.ts) for the scripts that check and convert it."""
import re
import xml.etree.ElementTree as ET


def parse_catalogue(path):
    """The catalogue's tree, with lupdate's <byte value="xd"/> (a control
    character in a text) turned back into the character itself."""
    with open(path, encoding="utf-8") as f:
        text = re.sub(r'<byte value="x([0-9a-fA-F]+)"/>', r"&#x\1;", f.read())
    return ET.fromstring(text)
