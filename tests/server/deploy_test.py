#!/usr/bin/env python3
"""The fleet's manifests and image recipe (deploy/) name every field that
docs/online.md ("More than one server") says they do, and agree with each
other and with the server's options. Only parsed: no cluster runs here, and
the image is not built (no container engine on this machine).

    deploy_test.py SOURCE_DIR"""
import os, re, sys

import yaml  # Debian's python3-yaml


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def dig(doc, path):
    """doc['a']['b'][0]... for 'a.b.0...'; fails naming the path."""
    node = doc
    for key in path.split('.'):
        try:
            node = node[int(key)] if isinstance(node, list) else node[key]
        except (KeyError, IndexError, ValueError, TypeError):
            fail('%s has no %s' % (doc.get('kind', '?'), path))
    return node


def arg(args, name):
    if name not in args:
        fail('the server is not started with %s: %r' % (name, args))
    return args[args.index(name) + 1]


def main():
    deploy = os.path.join(sys.argv[1], 'deploy')
    docs = {}
    for name in ('fleet.yaml', 'autoscaler.yaml', 'secret.yaml'):
        for doc in yaml.safe_load_all(open(os.path.join(deploy, name))):
            docs[doc['kind']] = doc
    fleet, scaler, secret = docs['Fleet'], docs['FleetAutoscaler'], docs['Secret']

    gs = dig(fleet, 'spec.template.spec')
    pod = dig(gs, 'template.spec')
    container = dig(pod, 'containers.0')
    args = container['args']
    port = dig(gs, 'ports.0')
    if (port['portPolicy'], port['protocol']) != ('Dynamic', 'TCPUDP'):
        fail('one port number for UDP and TCP wants Dynamic and TCPUDP: %r' % port)
    if str(port['containerPort']) != arg(args, '--port'):
        fail('the container port is not the server\'s --port')
    if '--agones' not in args:
        fail('the server does not talk to Agones')
    counters = dig(gs, 'counters')
    rooms = dig(counters, 'rooms.capacity')
    if str(rooms) != arg(args, '--max-rooms') or dig(counters, 'players.capacity') != 2 * rooms:
        fail('counter capacities %r against --max-rooms %s' % (counters, arg(args, '--max-rooms')))
    if int(dig(pod, 'terminationGracePeriodSeconds')) <= int(arg(args, '--drain')):
        fail('the grace period must be above the drain')
    for kind in ('requests', 'limits'):
        if str(dig(container, 'resources.%s.cpu' % kind)) != '1':
            fail('one core a server (%s)' % kind)
    if not dig(pod, 'securityContext.runAsNonRoot') or dig(pod, 'securityContext.runAsUser') == 0:
        fail('the pod must not run as root')
    database = [e for e in container['env'] if e['name'] == 'QUARNEX_DATABASE']
    ref = dig(database[0] if database else {}, 'valueFrom.secretKeyRef')
    if ref['name'] != secret['metadata']['name'] or ref['key'] not in secret['stringData']:
        fail('the database URL must come from the Secret: %r' % ref)

    policy = dig(scaler, 'spec.policy')
    if dig(scaler, 'spec.fleetName') != fleet['metadata']['name'] or policy['type'] != 'Counter':
        fail('the autoscaler must scale this fleet by a Counter')
    counter = policy['counter']
    if counter['key'] not in counters:
        fail('the autoscaler\'s counter %s is not the fleet\'s' % counter['key'])
    if not 0 < counter['bufferSize'] <= counter['minCapacity'] <= counter['maxCapacity']:
        fail('buffer, least and most capacity out of order: %r' % counter)

    recipe = open(os.path.join(deploy, 'Dockerfile')).read()
    lines = [l.split(None, 1) for l in recipe.splitlines() if l and not l.startswith('#')]
    words = [w[0] for w in lines]
    if not re.search(r'^FROM debian:\S+-slim$', recipe, re.M):
        fail('the image is not Debian slim')
    installed = re.findall(r'^ARG DEB=build/(\S+)_2\.00_\S+\.deb$', recipe, re.M)
    if installed != ['quarnex-server'] or not re.search(r'apt-get install .*\S+\.deb', recipe):
        fail('the image must install the server\'s .deb (not the desktop game\'s): %r' % installed)
    if arg(args, '--web') != '/usr/share/quarnex-server/web':
        fail('the fleet serves no page where the server\'s package puts it: %s' % arg(args, '--web'))
    user = [w[1].strip() for w in lines if w[0] == 'USER']
    if not user or user[-1].split(':')[0] in ('0', 'root') or words.index('USER') < words.index('RUN'):
        fail('the image must end up as a user that is not root')
    exposed = re.findall(r'^EXPOSE (.*)$', recipe, re.M)
    if not exposed or set(exposed[0].split()) != {'%s/udp' % port['containerPort'],
                                                  '%s/tcp' % port['containerPort']}:
        fail('the image must expose the port for UDP and TCP: %r' % exposed)
    print('ok: Fleet, FleetAutoscaler, Secret and Dockerfile as documented')


if __name__ == '__main__':
    main()
