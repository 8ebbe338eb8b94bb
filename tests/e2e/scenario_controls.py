def run(r): pass
